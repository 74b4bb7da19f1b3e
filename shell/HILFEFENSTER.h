#pragma once

// The help window: the program's help file (an HTML document in German and
// English) in a browser, opened at the place of a help context. Each topic
// carries the anchors "de_<context>" and "en_<context>"; context 0 is the
// contents.

#include <QDialog>
#include <QString>

class QTextBrowser;

class HILFEFENSTER : public QDialog {
    Q_OBJECT
public:
    explicit HILFEFENSTER(QWidget* parent = nullptr);

    // Shows `datei` at the anchor of `kontext` in the language (1 English,
    // anything else German). False when the file cannot be read.
    bool ZEIGEN(const QString& datei, int kontext, int sprache);

    // The anchor of a help context in a language.
    static QString ANKER(int kontext, int sprache);

    QTextBrowser* BROWSER() const { return m_browser; }
    QString DATEI() const { return m_datei; }
    QString ANKERNAME() const { return m_anker; }

private:
    QTextBrowser* m_browser;
    QString m_datei;
    QString m_anker;
};
