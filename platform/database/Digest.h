#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <cstring>
#include <utility>

// A 128-bit digest of bytes (a database's pages, a row's values): four
// independent lanes of the xxHash64 round over 32-byte blocks, mixed into
// two words at the end; fast enough that a Save reading a large project
// twice does not show.
class Digest {
public:
    // `bytes` a multiple of 32 long, except for the last piece.
    void Add(const unsigned char* bytes, size_t length) {
        size_t i = 0;
        for (; i + 32 <= length; i += 32) block(bytes + i);
        if (i < length) {
            unsigned char rest[32] = {};
            std::memcpy(rest, bytes + i, length - i);
            block(rest);
        }
        m_length += length;
    }
    QByteArray Result() const {
        const auto [h1, h2] = Words();
        QByteArray result(16, Qt::Uninitialized);
        std::memcpy(result.data(), &h1, 8);
        std::memcpy(result.data() + 8, &h2, 8);
        return result;
    }
    std::pair<quint64, quint64> Words() const {
        const quint64 h1 = mix(rotl(m_v[0], 1) + rotl(m_v[1], 7) + rotl(m_v[2], 12) +
                               rotl(m_v[3], 18) + m_length);
        const quint64 h2 = mix((m_v[0] ^ rotl(m_v[2], 29)) + (m_v[1] ^ rotl(m_v[3], 41)) +
                               h1 * kP1 + ~m_length);
        return {h1, h2};
    }

private:
    static constexpr quint64 kP1 = 0x9E3779B185EBCA87ULL, kP2 = 0xC2B2AE3D27D4EB4FULL;
    static quint64 rotl(quint64 x, int r) { return (x << r) | (x >> (64 - r)); }
    static quint64 mix(quint64 k) {
        k ^= k >> 33;
        k *= 0xff51afd7ed558ccdULL;
        k ^= k >> 33;
        k *= 0xc4ceb9fe1a85ec53ULL;
        k ^= k >> 33;
        return k;
    }
    void block(const unsigned char* bytes) {
        for (int lane = 0; lane < 4; ++lane) {
            quint64 input;
            std::memcpy(&input, bytes + 8 * lane, 8);
            m_v[lane] = rotl(m_v[lane] + input * kP2, 31) * kP1;
        }
    }
    quint64 m_v[4] = {kP1 + kP2, kP2, 0x5645'4c44'5645'4c44ULL, 0 - kP1};
    quint64 m_length = 0;
};
