#include "platform/runtime/InputFile.h"

#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/Zeichensatz.h"

#include <QByteArrayView>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace {

// Large enough that a file is read in few steps, small enough that a long
// file never lies in memory whole.
constexpr size_t kChunk = 64 * 1024;

RuntimeError OpenError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return StandardError(53);
    case EACCES:
    case EPERM:
        return StandardError(70);
    default:
        return StandardError(75);
    }
}

} // namespace

InputFile::InputFile(const QString& path) {
    m_file.reset(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!m_file) throw OpenError(errno);
    struct stat info {};
    // Only a plain file has an end: a directory, a device or a pipe is
    // refused.
    if (fstat(fileno(m_file.get()), &info) != 0 || !S_ISREG(info.st_mode)) throw StandardError(75);
    fill();
    const auto starts = [&](std::string_view mark) {
        return m_buffer.compare(0, mark.size(), mark) == 0;
    };
    if (starts("\xEF\xBB\xBF")) {
        m_pos = 3;
    } else if (starts("\xFF\xFE")) {
        m_encoding = Encoding::Utf16LE;
        m_pos = 2;
    } else if (starts("\xFE\xFF")) {
        m_encoding = Encoding::Utf16BE;
        m_pos = 2;
    }
}

InputFile::~InputFile() = default;

bool InputFile::fill() {
    if (m_atEnd) return false;
    m_buffer.erase(0, m_pos);
    m_pos = 0;
    const size_t before = m_buffer.size();
    m_buffer.resize(before + kChunk);
    const size_t read = std::fread(m_buffer.data() + before, 1, kChunk, m_file.get());
    m_buffer.resize(before + read);
    if (read == 0) {
        if (std::ferror(m_file.get())) throw StandardError(75);
        m_atEnd = true;
        return false;
    }
    return true;
}

bool InputFile::nextLine(size_t& length, size_t& endLength) {
    const size_t unit = m_encoding == Encoding::Bytes ? 1 : 2;
    const auto code = [&](size_t at) -> char16_t {
        const auto* b = reinterpret_cast<const unsigned char*>(m_buffer.data() + at);
        switch (m_encoding) {
        case Encoding::Utf16LE:
            return char16_t(b[0] | b[1] << 8);
        case Encoding::Utf16BE:
            return char16_t(b[0] << 8 | b[1]);
        default:
            return char16_t(b[0]);
        }
    };
    // Offsets from m_pos, which fill() moves to the buffer's start.
    size_t scan = 0;
    for (;;) {
        for (; m_pos + scan + unit <= m_buffer.size(); scan += unit) {
            const char16_t c = code(m_pos + scan);
            if (c == u'\n') {
                length = scan;
                endLength = unit;
                return true;
            }
            if (c != u'\r') continue;
            // A CR ends the line; an LF right behind it belongs to the end.
            if (m_pos + scan + 2 * unit > m_buffer.size()) fill();
            length = scan;
            endLength =
                m_pos + scan + 2 * unit <= m_buffer.size() && code(m_pos + scan + unit) == u'\n'
                    ? 2 * unit
                    : unit;
            return true;
        }
        if (!fill()) break;
    }
    // The end of the file: what is left is the last line.
    length = m_buffer.size() - m_pos;
    endLength = 0;
    return length > 0;
}

QString InputFile::decode(const char* bytes, size_t length) const {
    if (m_encoding != Encoding::Bytes) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes);
        const size_t units = length / 2;
        QString text(qsizetype(units + length % 2), Qt::Uninitialized);
        QChar* out = text.data();
        for (size_t i = 0; i < units; ++i)
            out[i] = m_encoding == Encoding::Utf16LE
                         ? QChar(char16_t(b[2 * i] | b[2 * i + 1] << 8))
                         : QChar(char16_t(b[2 * i] << 8 | b[2 * i + 1]));
        // A file cut in the middle of a character.
        if (length % 2) out[units] = QChar::ReplacementCharacter;
        return text;
    }
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii) return QString::fromLatin1(bytes, qsizetype(length));
    const QByteArrayView view(bytes, qsizetype(length));
    if (view.isValidUtf8()) return QString::fromUtf8(view);
    QString text(qsizetype(length), Qt::Uninitialized);
    for (size_t i = 0; i < length; ++i)
        text[qsizetype(i)] = Cp1252Char(static_cast<unsigned char>(bytes[i]));
    return text;
}

QString InputFile::LineInput() {
    size_t length = 0;
    size_t endLength = 0;
    if (!nextLine(length, endLength)) throw RuntimeError::InputPastEndOfFile();
    QString line = decode(m_buffer.data() + m_pos, length);
    m_pos += length + endLength;
    ++m_lineNumber;
    return line;
}

bool InputFile::AtEnd() {
    if (m_pos < m_buffer.size()) return false;
    return !fill();
}
