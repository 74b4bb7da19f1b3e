#include "shell/HILFEFENSTER.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HILFEFENSTER::HILFEFENSTER(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cdlHILFE"));
    setWindowTitle(QStringLiteral("?/Hilfe"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->addWidget(m_browser);
    resize(640, 560);
}

QString HILFEFENSTER::ANKER(int kontext, int sprache) {
    return (sprache == 1 ? QStringLiteral("en_") : QStringLiteral("de_")) +
           QString::number(kontext);
}

bool HILFEFENSTER::ZEIGEN(const QString& datei, int kontext, int sprache) {
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly)) return false;
    lesen.close();
    if (datei != m_datei) {
        m_browser->setSource(QUrl::fromLocalFile(datei), QTextDocument::HtmlResource);
        m_datei = datei;
    }
    m_anker = ANKER(kontext, sprache);
    // Opened from the Help button of a message box, the help must take
    // input above that box; otherwise it stays beside the program.
    const bool ueberBox =
        QApplication::activeModalWidget() && QApplication::activeModalWidget() != this;
    const Qt::WindowModality modalitaet = ueberBox ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modalitaet) {
        hide();
        setWindowModality(modalitaet);
    }
    show();
    raise();
    activateWindow();
    m_browser->scrollToAnchor(m_anker);
    return true;
}
