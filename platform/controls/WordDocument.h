#pragma once

// A new word-processor document, typed into as the word processor's
// automation is: text, paragraph marks and pasted pictures at the insertion
// point. It is written as an ODF text document into a new file of the
// temporary folder, which the desktop's word processor then opens.

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

class WordDocument {
public:
    WordDocument();
    WordDocument(const WordDocument&) = delete;
    WordDocument& operator=(const WordDocument&) = delete;

    void TypeText(const QString& text);
    void TypeParagraph();
    // Pastes the clipboard: its picture, or else its text.
    void Paste();

    // Writes the document into a new file "VELD-XXXXXX.odt" in the temporary
    // folder and returns its path; raises runtime error 75 when it cannot.
    QString SaveToTemporaryFile();

    const QTextDocument& Document() const { return m_document; }
    int Pictures() const { return m_pictures; }

private:
    QTextDocument m_document;
    QTextCursor m_cursor;
    int m_pictures = 0;
};
