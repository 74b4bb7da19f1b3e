#include "shell/frmINFO.h"

#include "data/HAUPTFENSTER.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "shell/BILDER.h"
#include "platform/controls/TWIPS.h"
#include "platform/controls/StdFont.h"
#include "shell/clsADRESSE.h"
#include "shell/mdiAUTOSTART.h"

#include <QCoreApplication>

namespace {
constexpr double kLinks = 1800;
constexpr double kBreite = 8200;
constexpr double kHoehe = 5500;
constexpr double kAdresseOben[8] = {90, 330, 560, 810, 1140, 1320, 1500, 1680};
constexpr double kInfoOben[7] = {2610, 2850, 3180, 3570, 3840, 4110, 4380};

QFont arial(double punkte, bool fett = false) {
    return DesignFont(QStringLiteral("Arial"), punkte, fett);
}

QString startText(const QLabel* label) {
    return label ? label->text() : QString();
}
} // namespace

frmINFO::frmINFO(mdiAUTOSTART* startbildschirm, QWidget* parent)
    : QDialog(parent), m_start(startbildschirm) {
    setObjectName(QStringLiteral("frmINFO"));
    setModal(true);
    setFixedSize(PIXEL(kBreite, this), PIXEL(kHoehe, this));
    const int textBreite = PIXEL(kBreite - kLinks - 240, this);

    imgLOGO = new QLabel(this);
    imgLOGO->setObjectName(QStringLiteral("imgLOGO"));
    imgLOGO->setPixmap(VERLAGSLOGO(PIXEL(1350, this)));
    imgLOGO->setGeometry(PIXEL(240, this), PIXEL(150, this), PIXEL(1350, this), PIXEL(1350, this));

    for (size_t i = 0; i < lblADRESSE.size(); ++i) {
        auto* zeile = new QLabel(this);
        zeile->setObjectName(QStringLiteral("lblADRESSE_%1").arg(i));
        zeile->setTextFormat(Qt::PlainText);
        const bool gross = i <= 3;
        zeile->setFont(arial(gross ? 10 : 8, i == 0));
        zeile->setGeometry(PIXEL(kLinks, this), PIXEL(kAdresseOben[i], this), textBreite,
                           PIXEL(gross ? 240 : 195, this));
        lblADRESSE[i] = zeile;
    }
    linTRENN = new QFrame(this);
    linTRENN->setObjectName(QStringLiteral("linTRENN"));
    linTRENN->setFrameShape(QFrame::HLine);
    linTRENN->setFrameShadow(QFrame::Sunken);
    linTRENN->setGeometry(PIXEL(240, this), PIXEL(2300, this), PIXEL(kBreite - 480, this), 2);

    for (size_t i = 0; i < lblINFO.size(); ++i) {
        auto* zeile = new QLabel(this);
        zeile->setObjectName(QStringLiteral("lblINFO_%1").arg(i));
        zeile->setTextFormat(Qt::PlainText);
        const bool gross = i == 1 || i == 2;
        zeile->setFont(gross ? arial(13, true) : arial(8));
        zeile->setGeometry(PIXEL(kLinks, this), PIXEL(kInfoOben[i], this), textBreite,
                           PIXEL(gross ? 285 : 210, this));
        lblINFO[i] = zeile;
    }

    cmdSCHLIESSEN = new QPushButton(QString::fromUtf8("Schließen"), this);
    cmdSCHLIESSEN->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN->setGeometry(PIXEL(kBreite - 1700, this), PIXEL(kHoehe - 600, this),
                               PIXEL(1455, this), PIXEL(375, this));
    cmdSCHLIESSEN->setDefault(true);
    connect(cmdSCHLIESSEN, &QPushButton::clicked, this, [this] { cmdSCHLIESSEN_Click(); });

    Form_Load();
}

QString frmINFO::VERSIONSMARKEN() {
    return QString::fromUtf8("Dipl.-Ing. Henrike Almsfeld, Dr. rer. nat. Bertram Quendt, "
                             "Dipl.-Inf. Malte Sörby, Jasna Ilievski-Roth");
}

QString frmINFO::ENTWICKLERTEXT(const QString& marken) {
    if (marken.size() <= 50) return marken;
    // Character 50 counts from 1.
    const qsizetype komma = marken.indexOf(QLatin1Char(','), 49);
    if (komma < 0) return marken;
    return marken.left(komma + 1) + QStringLiteral(" ...");
}

void frmINFO::Form_Load() {
    const QString titel = QCoreApplication::applicationName();
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel, vbOKOnly + vbExclamation);
    eh.LeaveAfterEveryBox();
    clsADRESSE adresse;
    QString entwickler;
    eh.Run([&] { entwickler = ENTWICKLERTEXT(VERSIONSMARKEN()); });
    eh.Run([&] {
        lblADRESSE[0]->setText(adresse.FIRMA1());
        lblADRESSE[1]->setText(adresse.FIRMA2());
        lblADRESSE[2]->setText(adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
        lblADRESSE[5]->setText(QStringLiteral("Fax: ") + adresse.FAX());
        lblADRESSE[6]->setText(QStringLiteral("E-Mail: ") + adresse.EMAIL());
        lblADRESSE[7]->setText(QStringLiteral("Internet: ") + adresse.URL());
    });
    eh.Run([&] {
        const int16_t sprache = frmMAIN().SPRACHE();
        if (sprache != 1 && sprache != 3) return;
        const bool englisch = sprache == 1;
        setWindowTitle((englisch ? QStringLiteral("Info of ") : QStringLiteral("Info zu ")) +
                       titel);
        lblADRESSE[3]->setText(
            (englisch ? QStringLiteral("Head of Found.: ") : QStringLiteral("Vorsitzender: ")) +
            adresse.VORSITZ());
        lblADRESSE[4]->setText(
            (englisch ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: ")) + adresse.TEL());
        lblINFO[0]->setText(QStringLiteral("Korvalind"));
        lblINFO[1]->setText(startText(m_start ? m_start->lblTITEL : nullptr));
        lblINFO[2]->setText(startText(m_start ? m_start->lblUNTERTITEL : nullptr));
        lblINFO[3]->setText(QStringLiteral("(") + titel + QStringLiteral(".exe)"));
        lblINFO[4]->setText(startText(m_start ? m_start->lblVERSION : nullptr));
        lblINFO[5]->setText(
            englisch ? QString::fromUtf8(
                           "© 2002 Hadmersfeld Soil Laboratory Software. All rights reserved.")
                     : QString::fromUtf8(
                           "© 2002 Bodenlabor-Software Hadmersfeld. Alle Rechte vorbehalten."));
        lblINFO[6]->setText((englisch ? QStringLiteral("Program developed by: ")
                                      : QStringLiteral("Programmentwicklung: ")) +
                            entwickler);
        if (englisch) cmdSCHLIESSEN->setText(QStringLiteral("Done"));
    });
}

void frmINFO::cmdSCHLIESSEN_Click() {
    accept();
}
