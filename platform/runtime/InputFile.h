#pragma once

// A text file opened for sequential input, read one line at a time (the
// runtime's "Open ... For Input" and "Line Input"). Files written by other
// programs come in many shapes; every one of them reads as the same lines:
//   - a UTF-8 byte-order mark is skipped; a UTF-16 file with its mark
//     (little or big endian) is decoded;
//   - CR LF, LF and a lone CR each end a line; a last line without an end is
//     still a line, and an end at the very end of the file adds no empty one;
//   - a line that is not valid UTF-8 is read as code page 1252 (the files of
//     older loggers), byte by byte.
// Reading after the last line raises runtime error 62 (input past end of
// file). The file is closed when the object goes, on every way out.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class InputFile {
public:
    // Opens the file; a failure raises 53 (file not found), 70 (permission
    // denied) or 75 (path/file access error: a directory or a device, say).
    explicit InputFile(const QString& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The next line, without its end. Raises 62 when no line is left, 75
    // when the file cannot be read.
    QString LineInput();
    // No line is left to read (the runtime's EOF).
    bool AtEnd();
    // The number of the last line read (the first line is 1; 0 before).
    int64_t LineNumber() const { return m_lineNumber; }

private:
    enum class Encoding { Bytes, Utf16LE, Utf16BE };

    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Tops up the buffer; false at the end of the file.
    bool fill();
    // Finds the end of the next line in the buffer, reading more as needed;
    // gives the length of the line and of its end (0 at the end of the file).
    bool nextLine(size_t& length, size_t& endLength);
    QString decode(const char* bytes, size_t length) const;

    std::unique_ptr<std::FILE, Closer> m_file;
    Encoding m_encoding = Encoding::Bytes;
    std::string m_buffer;
    size_t m_pos = 0;
    bool m_atEnd = false;
    int64_t m_lineNumber = 0;
};
