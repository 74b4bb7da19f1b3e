// The export/import dialog as a window: its controls, the load and unload
// handlers, and the drive list and folder list that find the other
// project's database.

#include "exchange/frmEXPIMP.h"

#include "data/HAUPTFENSTER.h"
#include "exchange/AUSTAUSCH.h"
#include "platform/controls/TWIPS.h"
#include "platform/controls/StdFont.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeWidget>

using namespace austausch;

frmEXPIMP::frmEXPIMP(QWidget* parent) : QDialog(parent ? parent : frmMAIN().FENSTER()) {
    setObjectName(QStringLiteral("frmEXPIMP"));
    setModal(true);
    setWindowTitle(kEXPIMPTITEL);
    STEUERELEMENTEANLEGEN();
    Form_Load();
}

frmEXPIMP::~frmEXPIMP() {
    if (m_andere) m_andere->Close();
}

void frmEXPIMP::STEUERELEMENTEANLEGEN() {
    const auto twips = [this](double x, double y, double b, double h) {
        return PIXELRECHTECK(x, y, b, h, this);
    };
    setFixedSize(PIXEL(8535, this), PIXEL(5205, this));
    setFont(DesignFont(QStringLiteral("Arial"), 9));
    const QFont rahmen = DesignFont(QStringLiteral("Arial"), 11.25, true);
    const QFont inhalt = DesignFont(QStringLiteral("Arial"), 9);

    fraEXP = new QGroupBox(QStringLiteral("Externes Projekt"), this);
    fraEXP->setObjectName(QStringLiteral("fraEXP"));
    fraEXP->setGeometry(twips(120, 150, 3540, 4935));
    fraEXP->setFont(rahmen);
    drvEXP = new QComboBox(fraEXP);
    drvEXP->setObjectName(QStringLiteral("drvEXP"));
    drvEXP->setGeometry(twips(270, 480, 3015, 345));
    drvEXP->setFont(inhalt);
    // The folder list shows the way from the drive's root to the current
    // folder and the folders in it; choosing one (double click or Enter)
    // makes it the current folder.
    dirEXP = new QTreeWidget(fraEXP);
    dirEXP->setObjectName(QStringLiteral("dirEXP"));
    dirEXP->setGeometry(twips(270, 870, 3015, 1620));
    dirEXP->setFont(inhalt);
    dirEXP->setHeaderHidden(true);
    dirEXP->setRootIsDecorated(false);
    dirEXP->setItemsExpandable(false);
    dirEXP->setIndentation(PIXEL(180, this));
    dirEXP->setIconSize(QSize(PIXEL(240, this), PIXEL(240, this)));
    dirEXP->setSelectionMode(QAbstractItemView::SingleSelection);
    lstEXP = new QListWidget(fraEXP);
    lstEXP->setObjectName(QStringLiteral("lstEXP"));
    lstEXP->setGeometry(twips(270, 2670, 3015, 1860));
    lstEXP->setFont(inhalt);
    lstEXP->setSelectionMode(QAbstractItemView::ExtendedSelection);

    fraIMP = new QGroupBox(QStringLiteral("Aktuelles Projekt #"), this);
    fraIMP->setObjectName(QStringLiteral("fraIMP"));
    fraIMP->setGeometry(twips(3900, 150, 4500, 4365));
    fraIMP->setFont(rahmen);
    lstIMP = new QListWidget(fraIMP);
    lstIMP->setObjectName(QStringLiteral("lstIMP"));
    lstIMP->setGeometry(twips(240, 450, 4035, 3660));
    lstIMP->setFont(inhalt);
    lstIMP->setSelectionMode(QAbstractItemView::ExtendedSelection);

    // The arrows point the way the records travel: Export to the other
    // project on the left, Import to this one on the right.
    const QFont pfeil = DesignFont(QStringLiteral("Arial"), 14.25);
    cmdEXP = new QPushButton(QString(QChar(0x25C0)), this);
    cmdEXP->setObjectName(QStringLiteral("cmdEXP"));
    cmdEXP->setGeometry(twips(3960, 4680, 675, 400));
    cmdEXP->setFont(pfeil);
    cmdEXP->setToolTip(QStringLiteral("Export"));
    cmdIMP = new QPushButton(QString(QChar(0x25B6)), this);
    cmdIMP->setObjectName(QStringLiteral("cmdIMP"));
    cmdIMP->setGeometry(twips(4710, 4680, 675, 400));
    cmdIMP->setFont(pfeil);
    cmdIMP->setToolTip(QStringLiteral("Import"));
    cmdSCHLIESSEN = new QPushButton(QString::fromUtf8("Schließen"), this);
    cmdSCHLIESSEN->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN->setGeometry(twips(6810, 4650, 1600, 400));
    for (QPushButton* knopf : {cmdEXP, cmdIMP, cmdSCHLIESSEN})
        knopf->setAutoDefault(false);
    // Nothing can be copied before another project's database is open.
    cmdEXP->setEnabled(false);
    cmdIMP->setEnabled(false);

    connect(drvEXP, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_setzen) drvEXP_Change();
    });
    connect(dirEXP, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (!m_setzen && item) dirEXP_SetPath(item->data(0, Qt::UserRole).toString());
    });
    connect(cmdEXP, &QPushButton::clicked, this, &frmEXPIMP::cmdEXP_Click);
    connect(cmdIMP, &QPushButton::clicked, this, &frmEXPIMP::cmdIMP_Click);
    connect(cmdSCHLIESSEN, &QPushButton::clicked, this, &frmEXPIMP::cmdSCHLIESSEN_Click);
}

// Drives and folders -----------------------------------------------------------

QStringList frmEXPIMP::LAUFWERKE() {
    QStringList wurzeln;
    for (const QStorageInfo& volumen : QStorageInfo::mountedVolumes()) {
        if (!volumen.isValid() || !volumen.isReady()) continue;
        // Single files mounted into the tree (as containers do) are no drives.
        if (!QFileInfo(volumen.rootPath()).isDir()) continue;
        if (!wurzeln.contains(volumen.rootPath())) wurzeln << volumen.rootPath();
    }
    wurzeln.sort();
    return wurzeln;
}

QString frmEXPIMP::LAUFWERK(const QString& pfad) {
    // A path that does not exist lies on the drive of its nearest existing
    // folder.
    QFileInfo info(QDir::cleanPath(QDir(pfad).absolutePath()));
    while (!info.exists() && !info.isRoot())
        info = QFileInfo(info.absolutePath());
    const QStorageInfo volumen(info.absoluteFilePath());
    return volumen.isValid() ? volumen.rootPath() : QDir::rootPath();
}

QString frmEXPIMP::BASISNAME(const QString& ordner) {
    const QString name = QFileInfo(QDir::cleanPath(ordner)).fileName();
    const qsizetype punkt = name.lastIndexOf(QLatin1Char('.'));
    return punkt < 0 ? name : name.left(punkt);
}

QString frmEXPIMP::drvEXP_Drive() const {
    return drvEXP->currentData().toString();
}

void frmEXPIMP::drvEXP_SetDrive(const QString& laufwerk) {
    {
        const bool vorher = m_setzen;
        m_setzen = true;
        int index = drvEXP->findData(laufwerk);
        if (index < 0) {
            drvEXP->addItem(laufwerk, laufwerk);
            index = drvEXP->count() - 1;
        }
        drvEXP->setCurrentIndex(index);
        m_setzen = vorher;
    }
    drvEXP_Change();
}

void frmEXPIMP::drvEXP_Change() {
    // The folder list starts at the root of the chosen drive.
    dirEXP_SetPath(drvEXP_Drive());
}

void frmEXPIMP::dirEXP_SetPath(const QString& ordner) {
    m_ordner = QDir::cleanPath(ordner);
    ORDNERZEIGEN();
    dirEXP_Change();
}

void frmEXPIMP::ORDNERZEIGEN() {
    const bool vorher = m_setzen;
    m_setzen = true;
    dirEXP->clear();
    const QFileIconProvider symbole;
    const QIcon ordnerSymbol = symbole.icon(QFileIconProvider::Folder);
    // The way down from the drive's root, one step further in each line.
    const QString wurzel = QDir::cleanPath(drvEXP_Drive().isEmpty() ? QDir::rootPath()
                                                                     : drvEXP_Drive());
    QStringList weg;
    for (QString pfad = m_ordner;; pfad = QFileInfo(pfad).absolutePath()) {
        weg.prepend(pfad);
        if (pfad == wurzel || QFileInfo(pfad).isRoot() || !pfad.startsWith(wurzel)) break;
    }
    const auto eintrag = [&](QTreeWidgetItem* oben, const QString& pfad) {
        const QString name = oben ? QFileInfo(pfad).fileName() : pfad;
        auto* item = oben ? new QTreeWidgetItem(oben) : new QTreeWidgetItem(dirEXP);
        item->setText(0, name);
        item->setIcon(0, ordnerSymbol);
        item->setData(0, Qt::UserRole, pfad);
        return item;
    };
    QTreeWidgetItem* aktuell = nullptr;
    for (const QString& pfad : weg)
        aktuell = eintrag(aktuell, pfad);
    const QStringList unterordner =
        QDir(m_ordner).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : unterordner)
        eintrag(aktuell, QDir(m_ordner).filePath(name));
    dirEXP->expandAll();
    dirEXP->setCurrentItem(aktuell);
    dirEXP->scrollToItem(aktuell, QAbstractItemView::PositionAtTop);
    m_setzen = vorher;
}

QString frmEXPIMP::externerTitel() const {
    return m_sprache == 1 ? QStringLiteral("External Project") : QStringLiteral("Externes Projekt");
}

void frmEXPIMP::ANDEREDATENBANKSCHLIESSEN() {
    if (m_andere) m_andere->Close();
    cmdEXP->setEnabled(false);
    cmdIMP->setEnabled(false);
}

void frmEXPIMP::ANDEREDATENBANKVERWERFEN(const RuntimeError& fehler) {
    // A file that is gone, is no project database or cannot be read leaves
    // nothing open: no copy can go into it by mistake.
    ANDEREDATENBANKSCHLIESSEN();
    lstEXP->clear();
    fraEXP->setTitle(externerTitel());
    const int zeiger = MousePointer();
    SetMousePointer(vbDefault);
    ErrorHandler(kVbError, kEXPIMPTITEL, vbOKCancel).Report(fehler);
    SetMousePointer(zeiger);
}

bool frmEXPIMP::ANDEREDATENBANKAKTUELL(QStringList* nichtGefunden) {
    if (!m_andere || !m_andere->IsOpen()) return false;
    // The dialog keeps the database open while the user looks and chooses.
    // When its owner saved meanwhile, a new file took its place, and the
    // file held here refuses every write: the copy goes into the file that
    // is at the path now, and the list shows what that file holds.
    if (!m_andere->HasMoved()) return true;
    // A key of the old file may name another record in the new one, and an
    // identifier may be there twice (a project written by another program):
    // what was chosen is found again by all the list showed of it, and only
    // where that names one record.
    struct Gewaehlt {
        QString text, kennung, kommentar;
    };
    QList<Gewaehlt> gewaehlt;
    for (const QListWidgetItem* item : lstEXP->selectedItems())
        if (item->data(Qt::UserRole).isValid())
            gewaehlt.append(
                {item->text(), item->data(kKENNUNG).toString(), item->data(kKOMMENTAR).toString()});
    try {
        m_andere->Reopen();
        LISTENFUELLEN(*m_andere, *lstEXP);
    } catch (...) {
        ANDEREDATENBANKVERWERFEN(AKTUELLERFEHLER());
        return false;
    }
    for (const Gewaehlt& datensatz : gewaehlt) {
        QList<QListWidgetItem*> treffer;
        for (int n = 0; n < lstEXP->count(); ++n) {
            QListWidgetItem* item = lstEXP->item(n);
            if (item->data(Qt::UserRole).isValid() &&
                item->data(kKENNUNG).toString() == datensatz.kennung &&
                item->data(kKOMMENTAR).toString() == datensatz.kommentar)
                treffer << item;
        }
        if (treffer.size() == 1) {
            treffer.front()->setSelected(true);
        } else if (nichtGefunden) {
            const bool weg = treffer.isEmpty();
            *nichtGefunden << datensatz.text + QStringLiteral(": ") +
                                  (m_sprache == 1 ? (weg ? QStringLiteral("no longer there")
                                                         : QStringLiteral("there more than once"))
                                                  : (weg ? QStringLiteral("nicht mehr vorhanden")
                                                         : QStringLiteral("mehrfach vorhanden")));
        }
    }
    return true;
}

void frmEXPIMP::NICHTKOPIERTMELDEN(const QString& deutsch, const QString& englisch,
                                   const QStringList& datensaetze) const {
    if (datensaetze.isEmpty()) return;
    const int zeiger = MousePointer();
    SetMousePointer(vbDefault);
    MsgBox((m_sprache == 1 ? englisch : deutsch) + QStringLiteral("\r\n") +
               datensaetze.join(QStringLiteral("\r\n")),
           vbOKOnly + vbExclamation);
    SetMousePointer(zeiger);
}

void frmEXPIMP::dirEXP_Change() {
    lstEXP->clear();
    const QFileInfo kandidat(m_ordner + QLatin1Char('/') + ApplicationTitle() +
                             QStringLiteral(".mdb"));
    if (!kandidat.isFile()) return;
    // The user's own working copy is never offered, by whatever spelling or
    // link the folder was reached.
    const QString arbeitskopie = QFileInfo(frmMAIN().XMDBPFAD()).canonicalFilePath();
    if (!arbeitskopie.isEmpty() && kandidat.canonicalFilePath() == arbeitskopie) return;

    ANDEREDATENBANKSCHLIESSEN();
    if (!m_andere) m_andere = std::make_shared<Connection>();
    try {
        m_andere->SetConnectionTimeout(30);
        m_andere->Open(kandidat.absoluteFilePath());
        LISTENFUELLEN(*m_andere, *lstEXP);
    } catch (...) {
        ANDEREDATENBANKVERWERFEN(AKTUELLERFEHLER());
        return;
    }
    m_geoeffnet = true;
    cmdEXP->setEnabled(true);
    cmdIMP->setEnabled(true);
    if (m_sprache == 1)
        fraEXP->setTitle(QStringLiteral("Project ") + BASISNAME(m_ordner));
    else if (m_sprache == 3)
        fraEXP->setTitle(QStringLiteral("Projekt ") + BASISNAME(m_ordner));
}

// Load and unload --------------------------------------------------------------

void frmEXPIMP::Form_Load() {
    SetMousePointer(vbHourglass);
    ErrorHandler eh(kVbError, QString(), vbOKCancel);
    eh.Run([&] {
        m_sprache = frmMAIN().SPRACHE();
        m_andere = std::make_shared<Connection>();
        m_geoeffnet = false;
    });
    QString projektordner;
    eh.Run([&] {
        projektordner = frmMAIN().PROJEKTSPFAD() + QLatin1Char('/') + frmMAIN().PROJEKT();
        const bool vorher = m_setzen;
        m_setzen = true;
        drvEXP->clear();
        for (const QString& laufwerk : LAUFWERKE())
            drvEXP->addItem(laufwerk, laufwerk);
        m_setzen = vorher;
        drvEXP_SetDrive(LAUFWERK(projektordner));
    });
    eh.Run([&] { dirEXP_SetPath(QFileInfo(QDir::cleanPath(projektordner)).absolutePath()); });
    eh.Run([&] {
        const QString projekt = frmMAIN().PROJEKT();
        if (m_sprache == 1) {
            fraIMP->setTitle(QStringLiteral("Selected Projekt: ") + projekt);
            cmdSCHLIESSEN->setText(QStringLiteral("Quit"));
        } else if (m_sprache == 3) {
            fraIMP->setTitle(QStringLiteral("Aktuelles Projekt: ") + projekt);
        } else {
            fraIMP->setTitle(QStringLiteral("Aktuelles Projekt #"));
        }
        // The frame names an opened database's folder; only without one does
        // it get the general caption.
        if (!m_andere->IsOpen()) fraEXP->setTitle(externerTitel());
    });
    eh.Run([&] { LISTENFUELLEN(*frmMAIN().DBPROJEKT(), *lstIMP); });
    SetMousePointer(vbDefault);
}

void frmEXPIMP::cmdSCHLIESSEN_Click() {
    accept();
}

void frmEXPIMP::done(int ergebnis) {
    Form_Unload();
    QDialog::done(ergebnis);
}

void frmEXPIMP::Form_Unload() {
    if (m_entladen) return;
    m_entladen = true;
    if (m_geoeffnet) {
        if (m_andere) m_andere->Close();
        frmMAIN().SETZEAUSWAHLMODUS(QStringLiteral("OK"));
    }
    m_andere.reset();
}

void EXPIMPZEIGEN(QWidget* besitzer) {
    frmEXPIMP dialog(besitzer);
    dialog.exec();
}
