#include "shell/mdiAUTOSTART.h"

#include "data/HAUPTFENSTER.h"
#include "shell/BILDER.h"
#include "platform/controls/TWIPS.h"
#include "platform/controls/StdFont.h"
#include "shell/clsADRESSE.h"

#include <QFontMetrics>
#include <QResizeEvent>

namespace {
QFont arial(double punkte, bool fett = false) {
    return DesignFont(QStringLiteral("Arial"), punkte, fett);
}

QRect pixelRect(const QRectF& twips, const QWidget* w) {
    return PIXELRECHTECK(twips.left(), twips.top(), twips.width(), twips.height(), w);
}
} // namespace

mdiAUTOSTART::mdiAUTOSTART(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mdiAUTOSTART"));
    setAutoFillBackground(true);

    fraKOPF = new QFrame(this);
    fraKOPF->setObjectName(QStringLiteral("fraKOPF"));
    fraKOPF->setFrameStyle(QFrame::Box | QFrame::Plain);
    imgRUME = new QLabel(fraKOPF);
    imgRUME->setObjectName(QStringLiteral("imgRUME"));
    imgRUME->setScaledContents(true);
    for (int i = 0; i < 4; ++i) {
        lblKOPF[size_t(i)] = new QLabel(fraKOPF);
        lblKOPF[size_t(i)]->setObjectName(QStringLiteral("lblKOPF_%1").arg(i));
        lblKOPF[size_t(i)]->setFont(arial(9, i == 0));
        lblKOPF[size_t(i)]->setTextFormat(Qt::PlainText);
    }
    lblTITEL = new QLabel(this);
    lblTITEL->setObjectName(QStringLiteral("lblTITEL"));
    lblTITEL->setFont(arial(33, true));
    lblUNTERTITEL = new QLabel(this);
    lblUNTERTITEL->setObjectName(QStringLiteral("lblUNTERTITEL"));
    lblUNTERTITEL->setFont(arial(33, true));
    imgDIA = new QLabel(this);
    imgDIA->setObjectName(QStringLiteral("imgDIA"));
    lblVERSION = new QLabel(this);
    lblVERSION->setObjectName(QStringLiteral("lblVERSION"));
    lblVERSION->setFont(arial(18));
    pgbBERECHNEN = new QProgressBar(this);
    pgbBERECHNEN->setObjectName(QStringLiteral("pgbBERECHNEN"));
    pgbBERECHNEN->setRange(0, 100);
    pgbBERECHNEN->setValue(0);
    pgbBERECHNEN->setTextVisible(false);
    pgbBERECHNEN->hide();

    imgRUME->setPixmap(VERLAGSLOGO(PIXEL(kKopfHoehe * 0.85, this)));
    imgDIA->setPixmap(GERAETEBILD(PIXEL(3600, this), PIXEL(2400, this)));
    imgDIA->adjustSize();
}

void mdiAUTOSTART::Form_Load() {
    lblVERSION->setText(QStringLiteral("Version "));
    {
        clsADRESSE adresse;
        lblKOPF[0]->setText(adresse.FIRMA1());
        lblKOPF[1]->setText(adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
        if (frmMAIN().SPRACHE() == 1) {
            lblKOPF[2]->setText(QStringLiteral("Head of Found.: ") + adresse.VORSITZ());
            lblKOPF[3]->setText(QStringLiteral("Phone: ") + adresse.TEL() + QStringLiteral(", ") +
                                QStringLiteral("E-Mail: ") + adresse.EMAIL() +
                                QStringLiteral(", ") + QStringLiteral("Internet: ") +
                                adresse.URL());
            lblTITEL->setText(QStringLiteral("Varmikon"));
            lblUNTERTITEL->setText(QString());
            lblVERSION->setText(lblVERSION->text() + QStringLiteral("March 2002"));
        } else if (frmMAIN().SPRACHE() == 3) {
            lblKOPF[2]->setText(QStringLiteral("Vorsitzender: ") + adresse.VORSITZ());
            lblKOPF[3]->setText(QStringLiteral("Telefon: ") + adresse.TEL() + QStringLiteral(", ") +
                                QStringLiteral("E-Mail: ") + adresse.EMAIL() +
                                QStringLiteral(", ") + QStringLiteral("Internet: ") +
                                adresse.URL());
            lblTITEL->setText(QStringLiteral("Varmikon"));
            lblUNTERTITEL->setText(QString());
            lblVERSION->setText(lblVERSION->text() + QString::fromUtf8("März 2002"));
        }
    }
    for (QLabel* zeile : lblKOPF)
        zeile->adjustSize();
    lblTITEL->adjustSize();
    lblUNTERTITEL->adjustSize();
    lblVERSION->adjustSize();
    m_geladen = true;
    // The screen fills the main window's client area (the caller sizes it).
    ANORDNEN(size());
    pgbBERECHNEN->hide();
}

AUTOSTARTLAGE mdiAUTOSTART::ANORDNUNG(const AUTOSTARTMASSE& m) {
    AUTOSTARTLAGE lage;
    const double kopfBreite = m.W * 0.98;
    lage.fraKOPF = QRectF((m.W - kopfBreite) / 2, kKopfOben, kopfBreite, m.fraKOPFHoehe);

    const double logoHoehe = m.fraKOPFHoehe * 0.85;
    const double logoOben = m.fraKOPFHoehe * 0.1;
    lage.imgRUME =
        QRectF(kopfBreite - m.imgRUMEBreite - logoOben / 2, logoOben, m.imgRUMEBreite, logoHoehe);

    lage.lblTITEL = QRectF((m.W - m.lblTITELBreite) / 2, (m.H - m.lblTITELHoehe) / 2.75,
                           m.lblTITELBreite, m.lblTITELHoehe);
    lage.lblUNTERTITEL =
        QRectF((m.W - m.lblUNTERTITELBreite) / 2, lage.lblTITEL.top() + m.lblUNTERTITELHoehe * 1.15,
               m.lblUNTERTITELBreite, m.lblUNTERTITELHoehe);
    lage.imgDIA = QRectF(m.W - m.imgDIABreite - 1000, m.H - m.imgDIAHoehe - 1000 + m.TEXTHOEHE,
                         m.imgDIABreite, m.imgDIAHoehe);
    lage.lblVERSION = QRectF(200, m.H - 1000, m.lblVERSIONBreite, m.lblVERSIONHoehe);
    lage.pgbBERECHNEN = QRectF(200, lage.lblVERSION.top() - 3 * m.pgbHoehe, m.W / 4, m.pgbHoehe);
    return lage;
}

void mdiAUTOSTART::ANORDNEN(const QSize& flaeche) {
    AUTOSTARTMASSE m;
    m.W = TWIPS(flaeche.width(), this);
    m.H = TWIPS(flaeche.height(), this);
    m.fraKOPFHoehe = kKopfHoehe;
    m.imgRUMEBreite = TWIPS(imgRUME->pixmap().width(), this);
    m.lblTITELBreite = TWIPS(lblTITEL->width(), this);
    m.lblTITELHoehe = TWIPS(lblTITEL->height(), this);
    m.lblUNTERTITELBreite = TWIPS(lblUNTERTITEL->width(), this);
    m.lblUNTERTITELHoehe = TWIPS(lblUNTERTITEL->height(), this);
    m.imgDIABreite = TWIPS(imgDIA->width(), this);
    m.imgDIAHoehe = TWIPS(imgDIA->height(), this);
    m.TEXTHOEHE = TWIPS(QFontMetrics(font()).height(), this);
    m.pgbHoehe = kBalkenHoehe;
    m.lblVERSIONBreite = TWIPS(lblVERSION->width(), this);
    m.lblVERSIONHoehe = TWIPS(lblVERSION->height(), this);

    const AUTOSTARTLAGE lage = ANORDNUNG(m);
    fraKOPF->setGeometry(pixelRect(lage.fraKOPF, this));
    imgRUME->setGeometry(pixelRect(lage.imgRUME, this));
    // The address lines stand left in the band, one under the other.
    for (size_t i = 0; i < lblKOPF.size(); ++i)
        lblKOPF[i]->move(PIXEL(200, this), PIXEL(110 + 290 * double(i), this));
    lblTITEL->setGeometry(pixelRect(lage.lblTITEL, this));
    lblUNTERTITEL->setGeometry(pixelRect(lage.lblUNTERTITEL, this));
    imgDIA->setGeometry(pixelRect(lage.imgDIA, this));
    lblVERSION->setGeometry(pixelRect(lage.lblVERSION, this));
    pgbBERECHNEN->setGeometry(pixelRect(lage.pgbBERECHNEN, this));
}

void mdiAUTOSTART::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The screen fills the main window's client area; when that changes,
    // the controls follow.
    if (m_geladen) ANORDNEN(event->size());
}
