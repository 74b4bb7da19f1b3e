// The export to the information system: the window, its load and unload
// handlers, the two lists and the transfer of a record's result.

#include "exchange/frmEXPINF.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "exchange/AUSTAUSCH.h"
#include "platform/controls/TWIPS.h"
#include "platform/controls/StdFont.h"
#include "platform/database/Connection.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <limits>
#include <optional>
#include <vector>

using namespace austausch;

namespace {

// The row of the list's chosen item; -1 when none is chosen.
int gewaehlt(const QListWidget& liste) {
    const QList<QListWidgetItem*> auswahl = liste.selectedItems();
    return auswahl.isEmpty() ? -1 : liste.row(auswahl.first());
}

} // namespace

frmEXPINF::frmEXPINF(QWidget* parent) : QDialog(parent ? parent : frmMAIN().FENSTER()) {
    setObjectName(QStringLiteral("frmEXPINF"));
    setModal(true);
    setWindowTitle(kEXPINFTITEL);
    STEUERELEMENTEANLEGEN();
    Form_Load();
}

frmEXPINF::~frmEXPINF() = default;

void frmEXPINF::STEUERELEMENTEANLEGEN() {
    const auto twips = [this](double x, double y, double b, double h) {
        return PIXELRECHTECK(x, y, b, h, this);
    };
    setFixedSize(PIXEL(5985, this), PIXEL(5670, this));
    setFont(DesignFont(QStringLiteral("Arial"), 11.25));
    const auto rahmen = [&](const char* name, const QRect& ort) {
        auto* r = new QGroupBox(this);
        r->setObjectName(QLatin1String(name));
        r->setGeometry(ort);
        r->setFont(DesignFont(QStringLiteral("Arial"), 11.25, true));
        return r;
    };
    const auto beschriftung = [&](QWidget* in, const char* name, const QString& text,
                                  const QRect& ort) {
        auto* l = new QLabel(text, in);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(ort);
        l->setFont(DesignFont(QStringLiteral("Arial"), 11.25));
        return l;
    };
    const auto liste = [&](QWidget* in, const char* name, const QRect& ort) {
        auto* l = new QListWidget(in);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(ort);
        l->setFont(DesignFont(QStringLiteral("Arial"), 11.25));
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        return l;
    };
    const QString datensaetze = QString::fromUtf8("Datensätze");
    const QString desProjektes = QStringLiteral("des aktuellen Projektes");

    fraPROJ = rahmen("fraPROJ", twips(210, 240, 2730, 4695));
    lblAKTP1 = beschriftung(fraPROJ, "lblAKTP1", datensaetze, twips(270, 420, 1575, 255));
    lblAKTP2 = beschriftung(fraPROJ, "lblAKTP2", desProjektes, twips(270, 720, 2295, 255));
    lstPROJ = liste(fraPROJ, "lstPROJ", twips(270, 1260, 2070, 3120));
    fraINF = rahmen("fraINF", twips(3060, 240, 2730, 4695));
    lblAKTI1 = beschriftung(fraINF, "lblAKTI1", datensaetze, twips(240, 330, 1335, 255));
    lblAKTI2 = beschriftung(fraINF, "lblAKTI2", desProjektes, twips(240, 600, 2415, 255));
    lblAKTI3 = beschriftung(fraINF, "lblAKTI3", QStringLiteral("im Informationssystem"),
                            twips(240, 870, 2295, 255));
    lstINF = liste(fraINF, "lstINF", twips(240, 1290, 2070, 3120));

    cmdUEBERNEHMEN = new QPushButton(QString::fromUtf8("Übernehmen"), this);
    cmdUEBERNEHMEN->setObjectName(QStringLiteral("cmdUEBERNEHMEN"));
    cmdUEBERNEHMEN->setGeometry(twips(2490, 5100, 1575, 375));
    cmdSCHLIESSEN = new QPushButton(QString::fromUtf8("Schließen"), this);
    cmdSCHLIESSEN->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN->setGeometry(twips(4170, 5100, 1600, 400));
    for (QPushButton* knopf : {cmdUEBERNEHMEN, cmdSCHLIESSEN})
        knopf->setAutoDefault(false);

    // The entry list's Click comes with every change of its selection, by
    // the mouse, the keyboard or the program, and with a click on the entry
    // already chosen (which changes nothing but deselects it).
    connect(lstINF, &QListWidget::itemSelectionChanged, this, [this] {
        m_klickGewaehlt = true;
        lstINF_Click();
    });
    connect(lstINF, &QListWidget::itemClicked, this, [this] {
        if (!m_klickGewaehlt) lstINF_Click();
    });
    lstINF->viewport()->installEventFilter(this);
    connect(cmdUEBERNEHMEN, &QPushButton::clicked, this, &frmEXPINF::cmdUEBERNEHMEN_Click);
    connect(cmdSCHLIESSEN, &QPushButton::clicked, this, &frmEXPINF::cmdSCHLIESSEN_Click);
}

QString frmEXPINF::DATUMSTEXT(const QDate& datum) {
    return QLocale::c().toString(datum, QStringLiteral("dd.MM.yy"));
}

// Load and unload --------------------------------------------------------------

void frmEXPINF::Form_Load() {
    ErrorHandler eh(kVbError, QString(), vbOKCancel);
    eh.Run([&] {
        SetMousePointer(vbHourglass);
        m_sprache = frmMAIN().SPRACHE();
        if (m_sprache == 1) {
            for (QLabel* l : {lblAKTP1, lblAKTI1})
                l->setText(QStringLiteral("Files"));
            for (QLabel* l : {lblAKTP2, lblAKTI2})
                l->setText(QStringLiteral("from current project"));
            lblAKTI3->setText(QStringLiteral("in the information system"));
            cmdSCHLIESSEN->setText(QStringLiteral("Quit"));
            cmdUEBERNEHMEN->setText(QStringLiteral("Apply"));
        } else if (m_sprache == 3) {
            fraPROJ->setTitle(QStringLiteral("Aktuelles Projekt"));
            fraINF->setTitle(QStringLiteral("Informations System"));
        }
        // Our fonts set some captions a little wider than the design's
        // labels; such a label grows to the right, within its frame, so that
        // its last letters are not cut off.
        for (QLabel* l : {lblAKTP1, lblAKTP2, lblAKTI1, lblAKTI2, lblAKTI3}) {
            const int noetig = l->fontMetrics().horizontalAdvance(l->text());
            if (noetig > l->width())
                l->resize(qMin(noetig, l->parentWidget()->width() - l->x()), l->height());
        }
    });
    eh.Run([&] {
        m_projekt = frmMAIN().PROJEKT();
        m_quelle = QStringLiteral("QX");
        m_bearbeiter = frmMAIN().BEARBEITER();
        m_datum = DATUMSTEXT(QDate::currentDate());
    });
    eh.Run([&] { frmMAIN().SETZEFORTSCHRITTSICHTBAR(true); });
    eh.Run([&] {
        m_projE1 = std::make_unique<clsDATEN>();
        m_projE2 = std::make_unique<clsDATEN>();
        m_projE2->ETABELLE(QStringLiteral("E2"));
        m_projA1 = std::make_unique<clsDATEN>();
        m_projA1->ETABELLE(QStringLiteral("A1"));
    });
    bool geladen = false;
    eh.Run([&] {
        m_infE0 = std::make_unique<clsDATEN>();
        m_infE1 = std::make_unique<clsDATEN>();
        m_infE2 = std::make_unique<clsDATEN>();
        bool BOINF = false;
        m_infE1->EINFMDB(BOINF, QStringLiteral("TALVIR"));
        if (!BOINF) {
            SetMousePointer(vbDefault);
            frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
            MsgBox(QStringLiteral("Informationssystem TALVIR ist nicht installiert!"),
                   vbOKOnly + vbExclamation);
            return;
        }
        // One connection for the three tables: a transfer is one transaction.
        m_infE0->EVERBINDUNG(m_infE1->VERBINDUNG());
        m_infE2->EVERBINDUNG(m_infE1->VERBINDUNG());
        m_infE0->ETABELLE(QStringLiteral("E0"));
        m_infE1->ETABELLE(QStringLiteral("E1"));
        m_infE2->ETABELLE(QStringLiteral("E2"));
        m_talvir = true;
        geladen = true;
    });
    if (!geladen) {
        SetMousePointer(vbDefault);
        return;
    }
    eh.Run([&] { m_gemerkt = -1; });
    eh.Run([&] { LISTENFUELLEN(*lstPROJ, *lstINF); });
    eh.Run([&] { frmMAIN().SETZEFORTSCHRITTSICHTBAR(false); });
    SetMousePointer(vbDefault);
}

void frmEXPINF::cmdSCHLIESSEN_Click() {
    accept();
}

void frmEXPINF::done(int ergebnis) {
    Form_Unload();
    QDialog::done(ergebnis);
}

void frmEXPINF::Form_Unload() {
    if (m_entladen) return;
    m_entladen = true;
    m_projE1.reset();
    m_projE2.reset();
    m_projA1.reset();
    m_infE0.reset();
    m_infE2.reset();
    m_infE1.reset();
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
}

// Lists ------------------------------------------------------------------------

void frmEXPINF::LISTENFUELLEN(QListWidget& lstP, QListWidget& lstI) {
    // The identifiers of the keys into the list, the bar at i / n x 100.
    const auto fuellen = [](clsDATEN& kennung, const std::vector<int32_t>& ids,
                            QListWidget& liste) {
        const double n = double(ids.size());
        for (size_t i = 0; i < ids.size(); ++i) {
            kennung.ESPIDW(ids[i]);
            QVariant ken;
            if (!kennung.DTVV(QStringLiteral("KEN"), ken)) return false;
            auto* item = new QListWidgetItem(TEXT(ken));
            item->setData(Qt::UserRole, ids[i]);
            liste.addItem(item);
            frmMAIN().SETZEFORTSCHRITT(int(Round(double(i) / n * 100.0)));
        }
        return true;
    };

    std::vector<int32_t> ids;
    // Every record of the project, the multiple evaluation included, by key.
    if (m_projE1->IDKRIT(ids, QStringLiteral("ID")))
        if (!fuellen(*m_projE1, ids, lstP)) return;
    std::vector<int32_t> eintraege;
    // The project's entries: its name matched exactly, as quoted text.
    if (m_infE0->IDKRIT(eintraege, QStringLiteral("PROJ"), QVariant(m_projekt), nullptr,
                        QStringLiteral("ID")))
        if (!fuellen(*m_infE1, eintraege, lstI)) return;
    frmMAIN().SETZEFORTSCHRITT(0);
}

bool frmEXPINF::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == lstINF->viewport() && ereignis->type() == QEvent::MouseButtonPress)
        m_klickGewaehlt = false;
    return QDialog::eventFilter(objekt, ereignis);
}

void frmEXPINF::lstINF_Click() {
    if (m_imKlick) return;
    m_imKlick = true;
    const int index = gewaehlt(*lstINF);
    if (index == m_gemerkt) {
        // A second click on the chosen entry: no entry chosen, Apply makes
        // a new one.
        lstINF->clearSelection();
        lstINF->setCurrentRow(-1);
        m_gemerkt = -1;
    } else {
        m_gemerkt = index;
    }
    m_imKlick = false;
}

// Transfer ---------------------------------------------------------------------

void frmEXPINF::cmdUEBERNEHMEN_Click() {
    DATENSATZUEBERNEHMEN(*lstPROJ, *lstINF);
}

void frmEXPINF::DATENSATZUEBERNEHMEN(QListWidget& lstP, QListWidget& lstI) {
    const int datensatz = gewaehlt(lstP);
    if (datensatz < 0) {
        MsgBox(QStringLiteral("Auswahl eines Datensatzes des aktuellen Projektes fehlt !"),
               vbOKOnly);
        return;
    }
    if (!m_talvir) return;
    m_projE1->ESPIDW(lstP.item(datensatz)->data(Qt::UserRole).toInt());
    const int eintragszeile = gewaehlt(lstI);
    const bool neu = eintragszeile < 0;
    int32_t eintrag = 0;
    if (neu) {
        if (MsgBox(QStringLiteral("Neuen Datensatz anlegen ?"), vbYesNo) != vbYes) return;
    } else {
        if (MsgBox(QString::fromUtf8("Ausgewählten Datensatz überschreiben ?"), vbYesNo) != vbYes)
            return;
        eintrag = lstI.item(eintragszeile)->data(Qt::UserRole).toInt();
    }

    SetMousePointer(vbHourglass);
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(true);
    if (UEBERTRAGEN(neu, eintrag)) {
        frmMAIN().SETZEFORTSCHRITT(100);
        if (neu) {
            // Listed only now that it is committed, and not chosen.
            QVariant ken;
            m_infE1->ESPIDW(eintrag);
            if (m_infE1->DTVV(QStringLiteral("KEN"), ken)) {
                auto* item = new QListWidgetItem(TEXT(ken));
                item->setData(Qt::UserRole, eintrag);
                lstI.addItem(item);
            }
        }
    }
    frmMAIN().SETZEFORTSCHRITT(0);
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
    SetMousePointer(vbDefault);
}

bool frmEXPINF::UEBERTRAGEN(bool neu, int32_t& eintrag) {
    ErrorHandler eh(kVbError, kEXPINFTITEL, vbOKCancel);
    // A step that fails shows the transfer's box with the default pointer;
    // OK goes on with the next step, Cancel ends the transfer.
    const auto schritt = [&](const std::function<void()>& anweisung) {
        if (eh.Left()) return false;
        try {
            anweisung();
            return true;
        } catch (...) {
            const RuntimeError fehler = AKTUELLERFEHLER();
            SetMousePointer(vbDefault);
            eh.Report(fehler);
            if (!eh.Left()) SetMousePointer(vbHourglass);
            return false;
        }
    };

    std::optional<Transaction> transaktion;
    if (!schritt([&] { transaktion.emplace(*m_infE1->VERBINDUNG()); })) return false;
    // A data-access object's own message has been shown when it reports
    // false: the transfer ends and nothing of it stays.
    bool gut = true;
    const auto lesenSchreiben = [&](clsDATEN& von, const QString& spalte, clsDATEN& nach,
                                    const QString& ziel) {
        if (!gut) return;
        schritt([&] {
            QVariant wert;
            gut = von.DTVV(spalte, wert) && nach.DVTV(ziel, wert);
        });
    };

    if (neu) {
        // The new key is read inside the transaction, so no other writer can
        // take it meanwhile.
        int32_t hoechster = std::numeric_limits<int32_t>::min();
        schritt([&] {
            m_infE1->ESPID(QString());
            m_infE1->INDEXL(nullptr, &hoechster, nullptr, QStringLiteral("ID"));
        });
        m_infE1->ESPID(QStringLiteral("ID"));
        if (eh.Left() || hoechster == std::numeric_limits<int32_t>::min()) return false;
        eintrag = hoechster + 1;
    }
    m_infE1->ESPIDW(eintrag);
    if (neu) {
        lesenSchreiben(*m_projE1, QStringLiteral("KEN"), *m_infE1, QStringLiteral("KEN"));
        lesenSchreiben(*m_projE1, QStringLiteral("KOM"), *m_infE1, QStringLiteral("KOM"));
        m_infE0->ESPIDW(eintrag);
        const auto schreiben = [&](const std::function<bool()>& anweisung) {
            if (gut) schritt([&] { gut = anweisung(); });
        };
        schreiben([&] { return m_infE0->DVTI(QStringLiteral("QART"), 0); });
        schreiben([&] { return m_infE0->DVTT(QStringLiteral("PROJ"), m_projekt); });
        schreiben([&] { return m_infE0->DVTT(QStringLiteral("QUELLE"), m_quelle); });
        schreiben([&] { return m_infE0->DVTT(QStringLiteral("BEARBEITER"), m_bearbeiter); });
        schreiben([&] { return m_infE0->DVTT(QStringLiteral("DATUM"), m_datum); });
    }

    const int32_t schluessel = m_projE1->ESPIDW();
    m_projA1->ESPIDW(schluessel);
    m_projE2->ESPIDW(schluessel);
    m_infE2->ESPIDW(eintrag);
    int16_t vt = 0;
    if (gut) schritt([&] { gut = m_projE2->DTVI(QStringLiteral("VT"), vt); });
    // The result goes into the column of the device; the other one keeps
    // what an earlier transfer left in it.
    if (vt == 0)
        lesenSchreiben(*m_projA1, QStringLiteral("VELD"), *m_infE2, QStringLiteral("MAXWE"));
    else if (vt == 1)
        lesenSchreiben(*m_projA1, QStringLiteral("VELD"), *m_infE2, QStringLiteral("MAXWN"));
    lesenSchreiben(*m_projE2, QStringLiteral("TMAX"), *m_infE2, QStringLiteral("ZEIT"));

    if (!gut || eh.Left()) return false;
    return schritt([&] { transaktion->Commit(); });
}

void EXPINFZEIGEN(QWidget* besitzer) {
    frmEXPINF dialog(besitzer);
    dialog.exec();
}
