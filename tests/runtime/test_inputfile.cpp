#include "platform/runtime/InputFile.h"
#include "platform/runtime/RuntimeError.h"
#include "support/OpenFiles.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

class InputFileTest : public ::testing::Test {
protected:
    QString write(const std::string& bytes, const QString& name = QStringLiteral("f.txt")) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    // Every line until AtEnd, then checks that one more read raises 62.
    static QStringList lines(const QString& path) {
        InputFile file(path);
        QStringList result;
        while (!file.AtEnd())
            result << file.LineInput();
        EXPECT_EQ(file.LineNumber(), result.size());
        try {
            file.LineInput();
            ADD_FAILURE() << "no error past the end";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 62);
        }
        return result;
    }
    static std::string utf16(const std::u16string& text, bool little) {
        std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char16_t c : text) {
            const char lo = char(c & 0xFF), hi = char(c >> 8);
            bytes += little ? std::string{lo, hi} : std::string{hi, lo};
        }
        return bytes;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(InputFileTest, EveryShapeOfTheSameTextGivesTheSameLines) {
    const QStringList expected{"4", "7", "12,5", "", "Ende"};
    const struct {
        const char* name;
        std::string bytes;
    } shapes[] = {
        {"LF", "4\n7\n12,5\n\nEnde\n"},
        {"CR LF", "4\r\n7\r\n12,5\r\n\r\nEnde\r\n"},
        {"CR", "4\r7\r12,5\r\rEnde\r"},
        {"mixed", "4\r\n7\n12,5\r\rEnde"},
        {"no final end", "4\n7\n12,5\n\nEnde"},
        {"UTF-8 mark", "\xEF\xBB\xBF"
                       "4\r\n7\r\n12,5\r\n\r\nEnde\r\n"},
        {"UTF-16 LE", utf16(u"4\r\n7\r\n12,5\r\n\r\nEnde\r\n", true)},
        {"UTF-16 BE", utf16(u"4\n7\n12,5\n\nEnde", false)},
    };
    for (const auto& shape : shapes) {
        EXPECT_EQ(lines(write(shape.bytes)), expected) << shape.name;
    }
}

TEST_F(InputFileTest, EmptyFilesHaveNoLineAndBlankLinesAreLines) {
    EXPECT_EQ(lines(write("")), QStringList());
    EXPECT_EQ(lines(write("\xEF\xBB\xBF")), QStringList());
    EXPECT_EQ(lines(write("\xFF\xFE")), QStringList());
    EXPECT_EQ(lines(write("\n")), QStringList{""});
    EXPECT_EQ(lines(write("\r\n\r\n")), (QStringList{"", ""}));
    EXPECT_EQ(lines(write("\n\r")), (QStringList{"", ""}));
}

TEST_F(InputFileTest, Utf8AndCodePage1252AndNulBytes) {
    EXPECT_EQ(lines(write("Temp. \xC2\xB0"
                          "C\nGr\xC3\xB6\xC3\x9F"
                          "e\n")),
              (QStringList{QString::fromUtf8("Temp. °C"), QString::fromUtf8("Größe")}));
    // Not UTF-8: each byte is a character of code page 1252.
    EXPECT_EQ(lines(write("Temp. \xB0"
                          "C\n\x80 \xE4\x81\n")),
              (QStringList{QString::fromUtf8("Temp. °C"), QString::fromUtf8("€ ä\u0081")}));
    // One line of each kind in the same file.
    EXPECT_EQ(lines(write("\xC3\xA4\n\xE4\n")),
              (QStringList{QString::fromUtf8("ä"), QString::fromUtf8("ä")}));
    const QStringList nul = lines(write(std::string("1\0002\n", 4)));
    ASSERT_EQ(nul.size(), 1);
    EXPECT_EQ(nul[0], QString(QChar(u'1')) + QChar(0) + QChar(u'2'));
    // A UTF-16 file cut in the middle of a character keeps a mark of it.
    EXPECT_EQ(lines(write(utf16(u"ab", true) + "c")), QStringList{QString::fromUtf16(u"ab\uFFFD")});
}

TEST_F(InputFileTest, LinesAndLineEndsAcrossTheReadChunks) {
    // A CR LF split between two reads of 64 KiB, and lines longer than one.
    const std::string longLine(65535, 'x');
    const std::string veryLong(200000, 'y');
    const QStringList got = lines(write(longLine + "\r\n" + veryLong + "\r" + "z"));
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].size(), 65535);
    EXPECT_EQ(got[1].size(), 200000);
    EXPECT_EQ(got[2], "z");
    const std::string utf16Long = utf16(std::u16string(32766, u'w') + u"\r\nv", true);
    EXPECT_EQ(lines(write(utf16Long)), (QStringList{QString(32766, u'w'), "v"}));
}

TEST_F(InputFileTest, OpenFailuresAndTheFileClosedOnEveryWayOut) {
    const int before = OpenDescriptors();
    const auto number = [](const QString& path) {
        try {
            InputFile file(path);
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number(dir.filePath("fehlt.txt")), 53);
    EXPECT_EQ(number(dir.filePath("fehlt/a.txt")), 53);
    EXPECT_EQ(number(dir.path()), 75);
    EXPECT_EQ(number("/dev/zero"), 75); // no end to read to
    const QString path = write("a\nb\n");
    {
        InputFile file(path);
        EXPECT_EQ(OpenDescriptors(), before + 1);
        EXPECT_EQ(file.LineInput(), "a");
        EXPECT_EQ(file.LineNumber(), 1);
    }
    try {
        InputFile file(path);
        file.LineInput();
        file.LineInput();
        file.LineInput();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 62);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}
