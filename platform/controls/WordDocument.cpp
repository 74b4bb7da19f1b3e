#include "platform/controls/WordDocument.h"
#include "platform/runtime/System.h"

#include "platform/controls/Clipboard.h"
#include "platform/runtime/RuntimeError.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryFile>
#include <QTextDocumentWriter>
#include <QTextImageFormat>
#include <QUrl>

WordDocument::WordDocument() : m_cursor(&m_document) {}

void WordDocument::TypeText(const QString& text) {
    m_cursor.insertText(text);
}

void WordDocument::TypeParagraph() {
    m_cursor.insertBlock();
}

void WordDocument::Paste() {
    const QImage bild = Clipboard::Image();
    if (bild.isNull()) {
        m_cursor.insertText(QGuiApplication::clipboard()->text());
        return;
    }
    ++m_pictures;
    const QUrl name(QStringLiteral("veld://bild%1.png").arg(m_pictures));
    m_document.addResource(QTextDocument::ImageResource, name, bild);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(bild.width());
    format.setHeight(bild.height());
    m_cursor.insertImage(format);
}

QString WordDocument::SaveToTemporaryFile() {
    QTemporaryFile datei(QDir::tempPath() + QStringLiteral("/VELD-XXXXXX.odt"));
    // The document outlives the program's run: the word processor has it.
    datei.setAutoRemove(false);
    bool geschrieben = datei.open();
    if (geschrieben) {
        QTextDocumentWriter schreiber(&datei, "odf");
        geschrieben = schreiber.write(&m_document);
        datei.close();
        if (!geschrieben) datei.remove();
    }
    if (!geschrieben)
        throw RuntimeError(75, GermanTexts()
                                   ? QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")
                                   : QStringLiteral("Path/File access error"));
    return datei.fileName();
}
