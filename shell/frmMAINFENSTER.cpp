#include "shell/frmMAINFENSTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "pages/SEITENFORM.h"
#include "pages/SEITENLADEN.h"
#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "shell/BILDER.h"
#include "shell/HAUPTRAHMEN.h"
#include "shell/HILFEFENSTER.h"
#include "shell/PANELBEFEHLE.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER_Intern.h"
#include "shell/mdiAUTOSTART.h"

#include <QAction>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>

using HAUPTFENSTERINTERN::kTitel;

frmMAINFENSTER::frmMAINFENSTER(QWidget* parent)
    : QMainWindow(parent), m_DBPROJEKT(std::make_shared<Connection>()),
      m_DBVORGABE(std::make_shared<Connection>()), m_DBARCHIV(std::make_shared<Connection>()),
      m_arbeitskopie(std::make_unique<ARBEITSKOPIE>(*this, m_DBPROJEKT)) {
    setObjectName(QStringLiteral("frmMAIN"));
    setWindowTitle(QStringLiteral("Korvalind"));
    MDIBEREICH = new QMdiArea(this);
    MDIBEREICH->setObjectName(QStringLiteral("MDIBEREICH"));
    // Pages are shown maximised by their own commands; activating a window
    // must not maximise it.
    MDIBEREICH->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    // A child window larger than the client area is reached through the
    // area's scroll bars (a page scrolls inside its own window).
    MDIBEREICH->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIBEREICH->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MDIBEREICH);
    MENUSANLEGEN();
    STATUSLEISTEANLEGEN();
    // The start screen stays behind the other child windows, even when the
    // user clicks on it.
    connect(MDIBEREICH, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* fenster) {
        if (fenster && fenster == m_autostartFenster && MDIBEREICH->subWindowList().size() > 1)
            fenster->lower();
    });
    MDIBEREICH->viewport()->installEventFilter(this);
    SETZEHAUPTFENSTER(this);
    Forms::Load(this);
    SetHelpHandler([this](const QString& datei, int kontext) { HILFEZEIGEN(datei, kontext); });
}

frmMAINFENSTER::~frmMAINFENSTER() {
    SetHelpHandler(nullptr);
    SetGermanTexts(std::nullopt);
    if (HAUPTFENSTERGESETZT() && &frmMAIN() == this) SETZEHAUPTFENSTER(nullptr);
    // Others may still hold the connections; the files are closed all the
    // same, as the run is over.
    m_DBPROJEKT->Close();
    m_DBVORGABE->Close();
    m_DBARCHIV->Close();
}

void frmMAINFENSTER::MENUSANLEGEN() {
    auto eintrag = [this](QMenu* menu, const char* name, const QString& text, bool aktiv = true) {
        QAction* aktion = menu->addAction(text);
        aktion->setObjectName(QString::fromLatin1(name));
        aktion->setEnabled(aktiv);
        return aktion;
    };
    auto trenner = [](QMenu* menu, const char* name) {
        QAction* aktion = menu->addSeparator();
        aktion->setObjectName(QString::fromLatin1(name));
        return aktion;
    };
    auto menue = [this](const char* name, const QString& text) {
        QMenu* menu = menuBar()->addMenu(text);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    mnuDATEI = menue("mnuDATEI", QStringLiteral("&Datei"));
    mnuNEU = eintrag(mnuDATEI, "mnuNEU", QStringLiteral("&Neu"));
    mnuOEFFNEN = eintrag(mnuDATEI, "mnuOEFFNEN", QString::fromUtf8("&Öffnen"));
    mnuAUSWAHL = eintrag(mnuDATEI, "mnuAUSWAHL", QStringLiteral("&Auswahl"));
    mnuTRENN0 = trenner(mnuDATEI, "mnuTRENN0");
    mnuEXPIMP = eintrag(mnuDATEI, "mnuEXPIMP", QStringLiteral("&Export-Import"));
    mnuEXPINF = eintrag(mnuDATEI, "mnuEXPINF", QStringLiteral("Export-&Inf.system"));
    mnuLOESCHEN = eintrag(mnuDATEI, "mnuLOESCHEN", QString::fromUtf8("&Löschen"));
    mnuSCHLIESSEN = eintrag(mnuDATEI, "mnuSCHLIESSEN", QString::fromUtf8("&Schließen"));
    mnuTRENN1 = trenner(mnuDATEI, "mnuTRENN1");
    mnuSPEICHERN = eintrag(mnuDATEI, "mnuSPEICHERN", QStringLiteral("&Speichern"));
    mnuBEENDEN = eintrag(mnuDATEI, "mnuBEENDEN", QStringLiteral("&Beenden"));

    mnuAUSWERTEN = menue("mnuAUSWERTEN", QStringLiteral("&Auswerten"));
    mnuEINGABEGRAFIK =
        eintrag(mnuAUSWERTEN, "mnuEINGABEGRAFIK", QStringLiteral("&Eingabegrafik"), false);
    mnuBERECHNEN = eintrag(mnuAUSWERTEN, "mnuBERECHNEN", QStringLiteral("&Berechnen"));
    mnuMBERECHNEN = eintrag(mnuAUSWERTEN, "mnuMBERECHNEN", QStringLiteral("&MBerechnen"), false);
    mnuFBERECHNEN = eintrag(mnuAUSWERTEN, "mnuFBERECHNEN", QStringLiteral("&FBerechnen"), false);
    mnuNEUBERECHNEN = eintrag(mnuAUSWERTEN, "mnuNEUBERECHNEN", QStringLiteral("&Neuberechnen"));

    mnuEXTRAS = menue("mnuEXTRAS", QStringLiteral("E&xtras"));
    mnuVVORGABEN = eintrag(mnuEXTRAS, "mnuVVORGABEN", QStringLiteral("&Vorgaben"), false);
    mnuVEVORGABEN =
        eintrag(mnuEXTRAS, "mnuVEVORGABEN", QStringLiteral("&Elektronikvorgaben"), false);
    mnuTRENN2 = trenner(mnuEXTRAS, "mnuTRENN2");
    mnuWERKZEUGE = mnuEXTRAS->addMenu(QStringLiteral("&Werkzeuge"));
    mnuWERKZEUGE->setObjectName(QStringLiteral("mnuWERKZEUGE"));
    mnuWERKZEUGE->menuAction()->setObjectName(QStringLiteral("mnuWERKZEUGE"));
    // Disabled as a widget too: a submenu follows its parent's enabling
    // otherwise and would come back on with the Extras menu.
    mnuWERKZEUGE->setEnabled(false);
    mnuWERKZEUGE->menuAction()->setEnabled(false);
    mnuTEXT = eintrag(mnuWERKZEUGE, "mnuTEXT", QStringLiteral("&Text"));
    mnuPOLYGON = eintrag(mnuWERKZEUGE, "mnuPOLYGON", QStringLiteral("&Polygon"));
    mnuKREIS = eintrag(mnuWERKZEUGE, "mnuKREIS", QStringLiteral("&Kreisbogen"));
    mnuKOMPRIMIEREN = eintrag(mnuEXTRAS, "mnuKOMPRIMIEREN", QStringLiteral("&Komprimieren"));

    mnuFRAGEZEICHEN = menue("mnuFRAGEZEICHEN", QStringLiteral("&?"));
    mnuHILFE = eintrag(mnuFRAGEZEICHEN, "mnuHILFE", QStringLiteral("&Hilfe"));
    mnuREADME = eintrag(mnuFRAGEZEICHEN, "mnuREADME", QStringLiteral("&ReadMe"));
    mnuHINWEISE = eintrag(mnuFRAGEZEICHEN, "mnuHINWEISE", QStringLiteral("Hin&weise"));
    mnuTRENN4 = trenner(mnuFRAGEZEICHEN, "mnuTRENN4");
    mnuINFO = eintrag(mnuFRAGEZEICHEN, "mnuINFO", QStringLiteral("&Info"));

    connect(mnuNEU, &QAction::triggered, this, [this] { mnuNEU_Click(); });
    connect(mnuOEFFNEN, &QAction::triggered, this, [this] { mnuOEFFNEN_Click(); });
    connect(mnuAUSWAHL, &QAction::triggered, this, [this] { mnuAUSWAHL_Click(); });
    connect(mnuEXPIMP, &QAction::triggered, this, [this] { mnuEXPIMP_Click(); });
    connect(mnuEXPINF, &QAction::triggered, this, [this] { mnuEXPINF_Click(); });
    connect(mnuLOESCHEN, &QAction::triggered, this, [this] { mnuLOESCHEN_Click(); });
    connect(mnuSCHLIESSEN, &QAction::triggered, this, [this] { mnuSCHLIESSEN_Click(); });
    connect(mnuSPEICHERN, &QAction::triggered, this, [this] { mnuSPEICHERN_Click(); });
    connect(mnuBEENDEN, &QAction::triggered, this, [this] { mnuBEENDEN_Click(); });
    connect(mnuAUSWERTEN, &QMenu::aboutToShow, this, [this] { mnuAUSWERTEN_Click(); });
    connect(mnuBERECHNEN, &QAction::triggered, this, [this] { mnuBERECHNEN_Click(); });
    connect(mnuMBERECHNEN, &QAction::triggered, this, [this] { mnuMBERECHNEN_Click(); });
    connect(mnuNEUBERECHNEN, &QAction::triggered, this, [this] { mnuNEUBERECHNEN_Click(); });
    connect(mnuKOMPRIMIEREN, &QAction::triggered, this, [this] { mnuKOMPRIMIEREN_Click(); });
    connect(mnuFRAGEZEICHEN, &QMenu::aboutToShow, this, [this] { mnuFRAGEZEICHEN_Click(); });
    connect(mnuHILFE, &QAction::triggered, this, [this] { mnuHILFE_Click(); });
    connect(mnuREADME, &QAction::triggered, this, [this] { mnuREADME_Click(); });
    connect(mnuHINWEISE, &QAction::triggered, this, [this] { mnuHINWEISE_Click(); });
    connect(mnuINFO, &QAction::triggered, this, [this] { mnuINFO_Click(); });
}

void frmMAINFENSTER::ENGLISCHETEXTE() {
    setWindowTitle(QStringLiteral("Korvalind"));
    mnuDATEI->setTitle(QStringLiteral("&File"));
    mnuNEU->setText(QStringLiteral("&New"));
    mnuOEFFNEN->setText(QStringLiteral("&Open"));
    mnuAUSWAHL->setText(QStringLiteral("&Select"));
    mnuLOESCHEN->setText(QStringLiteral("&Delete"));
    mnuSCHLIESSEN->setText(QStringLiteral("&Done"));
    mnuSPEICHERN->setText(QStringLiteral("&Save"));
    mnuBEENDEN->setText(QStringLiteral("&Quit"));
    mnuAUSWERTEN->setTitle(QStringLiteral("&Evaluate"));
    mnuEINGABEGRAFIK->setText(QStringLiteral("&Graphics of Input Data"));
    mnuBERECHNEN->setText(QStringLiteral("&Calculate"));
    mnuMBERECHNEN->setText(QStringLiteral("Calculate &Multiple"));
    mnuFBERECHNEN->setText(QStringLiteral("Calculate &Next"));
    mnuNEUBERECHNEN->setText(QStringLiteral("Calculate &First"));
    mnuEXTRAS->setTitle(QStringLiteral("Tools"));
    mnuVVORGABEN->setText(QStringLiteral("Preset Data"));
    mnuVEVORGABEN->setText(QStringLiteral("Preset Electronic Data"));
    mnuWERKZEUGE->setTitle(QStringLiteral("Grafic Tools"));
    mnuTEXT->setText(QStringLiteral("Text"));
    mnuPOLYGON->setText(QStringLiteral("Polygon"));
    mnuKREIS->setText(QStringLiteral("Circle"));
    mnuKOMPRIMIEREN->setText(QStringLiteral("Compact Database"));
    mnuHILFE->setText(QStringLiteral("Help"));

    struct Englisch {
        int panel;
        const char* text; // nullptr: the design text stays
        const char* tipp;
    };
    static const Englisch panels[] = {
        {8, nullptr, "Save input-data"},
        {9, "Cancel", "Discard input-data"},
        {10, "Show", "Show another page"},
        {11, "Print", "Print loaded pages"},
        {12, "Copy", "Save Screenshot"},
        {13, nullptr, "Send current page to word"},
        {14, nullptr, "Send current page to AutoCAD"},
        {15, "Close", "Back to the front window"},
    };
    for (const Englisch& e : panels) {
        PANEL* panel = stbMAIN->Panels(e.panel);
        if (e.text) panel->SetText(QString::fromLatin1(e.text));
        panel->SetToolTipText(QString::fromLatin1(e.tipp));
    }
}

QIcon frmMAINFENSTER::PROGRAMMSYMBOL() {
    // The apparatus of the start screen, drawn in the sizes the window
    // system picks from.
    QIcon symbol;
    for (const int groesse : {32, 64, 256})
        symbol.addPixmap(GERAETEBILD(groesse, groesse));
    return symbol;
}

// Properties --------------------------------------------------------------

QString frmMAINFENSTER::BENUTZER() {
    return UserName();
}

QString frmMAINFENSTER::DATENBANKPFAD() {
    return GetSetting(QStringLiteral("KORVA"), QStringLiteral("Extras"),
                      QStringLiteral("Datenbankpfad"));
}

QString frmMAINFENSTER::PROGRAMMPFAD() {
    return ProgramDirectory();
}

bool frmMAINFENSTER::BOGEAENDERT() {
    return m_arbeitskopie->BOGEAENDERT();
}

void frmMAINFENSTER::SETZEBOGEAENDERT(bool geaendert) {
    m_arbeitskopie->SETZEBOGEAENDERT(geaendert);
}

void frmMAINFENSTER::AUSWAHLVORBEREITEN() {
    m_arbeitskopie->AUSWAHLVORBEREITEN();
}

int frmMAINFENSTER::FRAGEN(const QString& text, int stil, const QString& titel,
                           const QString& hilfedatei, int kontext) {
    return MsgBox(text, stil, titel, hilfedatei, kontext);
}

void frmMAINFENSTER::HINWEISEN(const QString& zeile, const QString& ganz) {
    stbMAIN->Panels(7)->SetText(zeile);
    stbMAIN->Panels(7)->SetToolTipText(ganz);
}

void frmMAINFENSTER::SPAETER(std::function<void()> schritt) {
    // A little later rather than at once: a step that waits for a command's
    // transaction to end asks again, and must not spin meanwhile.
    QTimer::singleShot(50, this, [this, schritt = std::move(schritt)] {
        if (!m_entladen) schritt();
    });
}

bool frmMAINFENSTER::GELADEN() {
    return Forms::IsLoaded(this);
}

QString frmMAINFENSTER::PROJEKTDATENBANK() const {
    return m_PROJEKTSPFAD + QLatin1Char('/') + m_PROJEKT + QStringLiteral("/VELD.mdb");
}

QString frmMAINFENSTER::LANDESEINSTELLUNG(int element) const {
    // The two items the start-up asks for: the ISO 639 language name (89)
    // and the decimal separator (14).
    switch (element) {
    case 89:
        return LocaleLanguageName();
    case 14:
        return LocaleDecimalSeparator();
    default:
        return QString();
    }
}

// Start screen and progress bar -------------------------------------------

mdiAUTOSTART* frmMAINFENSTER::AUTOSTART() {
    if (!m_autostart) {
        auto* start = new mdiAUTOSTART;
        QMdiSubWindow* fenster = MDIBEREICH->addSubWindow(start, Qt::FramelessWindowHint);
        fenster->setObjectName(QStringLiteral("mdiAUTOSTART"));
        fenster->setGeometry(MDIBEREICH->viewport()->rect());
        m_autostart = start;
        m_autostartFenster = fenster;
        Forms::Load(start);
        start->Form_Load();
    }
    return m_autostart;
}

bool frmMAINFENSTER::eventFilter(QObject* objekt, QEvent* ereignis) {
    // The start screen fills the client area, whatever its size.
    if (objekt == MDIBEREICH->viewport() && ereignis->type() == QEvent::Resize &&
        m_autostartFenster)
        m_autostartFenster->setGeometry(MDIBEREICH->viewport()->rect());
    return QMainWindow::eventFilter(objekt, ereignis);
}

void frmMAINFENSTER::STARTBILDSCHIRMLADEN(ErrorHandler& eh) {
    // A failure while the start screen fills itself ends only its loading:
    // the screen is still shown with what it has.
    eh.Run([&] { AUTOSTART(); });
    eh.Run([&] { DoEvents(); });
    eh.Run([&] {
        if (!m_autostartFenster) return;
        m_autostartFenster->setGeometry(MDIBEREICH->viewport()->rect());
        m_autostartFenster->show();
        m_autostartFenster->lower();
    });
}

void frmMAINFENSTER::SETZEFORTSCHRITT(int wert) {
    AUTOSTART()->pgbBERECHNEN->setValue(wert);
}

int frmMAINFENSTER::FORTSCHRITT() {
    return AUTOSTART()->pgbBERECHNEN->value();
}

void frmMAINFENSTER::SETZEFORTSCHRITTSICHTBAR(bool sichtbar) {
    AUTOSTART()->pgbBERECHNEN->setVisible(sichtbar);
}

bool frmMAINFENSTER::FORTSCHRITTSICHTBAR() {
    return !AUTOSTART()->pgbBERECHNEN->isHidden();
}

// Menus and panels by name ------------------------------------------------

void frmMAINFENSTER::SETZEMENUAKTIV(const QString& name, bool aktiv) {
    if (auto* menu = findChild<QMenu*>(name)) {
        menu->menuAction()->setEnabled(aktiv);
        return;
    }
    if (auto* aktion = findChild<QAction*>(name)) aktion->setEnabled(aktiv);
}

bool frmMAINFENSTER::MENUAKTIV(const QString& name) {
    if (auto* menu = findChild<QMenu*>(name)) return menu->menuAction()->isEnabled();
    if (auto* aktion = findChild<QAction*>(name)) return aktion->isEnabled();
    return false;
}

void frmMAINFENSTER::SETZEPANELSICHTBAR(int panel, bool sichtbar) {
    if (PANEL* p = stbMAIN->Panels(panel)) p->SetVisible(sichtbar);
}

bool frmMAINFENSTER::PANELSICHTBAR(int panel) {
    const PANEL* p = stbMAIN->Panels(panel);
    return p && p->Visible();
}

QString frmMAINFENSTER::PANELTEXT(int panel) {
    const PANEL* p = stbMAIN->Panels(panel);
    return p ? p->Text() : QString();
}

// Help window -------------------------------------------------------------

HILFEFENSTER* frmMAINFENSTER::HILFE() {
    if (!m_hilfe) m_hilfe = new HILFEFENSTER(this);
    return m_hilfe;
}

bool frmMAINFENSTER::HILFEZEIGEN(const QString& datei, int kontext) {
    return HILFE()->ZEIGEN(datei, kontext, m_SPRACHE);
}

// Panels, child windows and pages -------------------------------------------

void frmMAINFENSTER::SETZEPANELBEVEL(int panel, int bevel) {
    if (PANEL* p = stbMAIN->Panels(panel)) p->SetBevel(bevel);
}

int frmMAINFENSTER::PANELBEVEL(int panel) {
    const PANEL* p = stbMAIN->Panels(panel);
    return p ? p->Bevel() : 0;
}

QString frmMAINFENSTER::AKTIVESKIND() {
    // The current child, not the active one: while a modeless dialog of the
    // main window (page layout, page chooser) has the focus, no child window
    // is active, but the dialogs act on the one the user left.
    const QMdiSubWindow* kind = MDIBEREICH->currentSubWindow();
    return kind && kind->widget() ? kind->widget()->objectName() : QString();
}

OutputObject* frmMAINFENSTER::RAHMENOBJEKT() {
    if (!m_rahmen) m_rahmen = std::make_unique<HAUPTRAHMEN>(MDIBEREICH->viewport());
    m_rahmen->MESSEN();
    return m_rahmen.get();
}

bool frmMAINFENSTER::SEITELADEN(const QString& name) {
    if (Forms::Find(name)) return false;
    QWidget* seite = ::SEITELADEN(name, MDIBEREICH);
    if (auto* form = qobject_cast<SEITENFORM*>(seite))
        connect(form, &SEITENFORM::FENSTERGESCHLOSSEN, this, [this] { SEITEGESCHLOSSEN(); });
    return seite != nullptr;
}

void frmMAINFENSTER::SEITEGESCHLOSSEN() {
    // The last page closed through its own window (close button, system
    // menu, Ctrl+F4) leaves the page view as panel 15 does: with no page
    // left, its panels would act on nothing and File would stay disabled.
    // Panel 15 itself and the end of the run close the pages on their own
    // way; a page closed while another stays changes nothing else.
    if (m_entladen || PANELBEFEHLE::SCHLIESST() || !PANELBEFEHLE::SEITEN().isEmpty()) return;
    stbMAIN_PanelClick(15);
}

bool frmMAINFENSTER::SEITEGELADEN(const QString& name) {
    return Forms::Find(name) != nullptr;
}

void frmMAINFENSTER::SEITEZEIGEN(const QString& name) {
    QWidget* seite = Forms::Find(name);
    if (!seite) return;
    if (auto* fenster = qobject_cast<QMdiSubWindow*>(seite->parentWidget())) {
        fenster->showMaximized();
        MDIBEREICH->setActiveSubWindow(fenster);
    } else {
        seite->showMaximized();
    }
    // The page's keys reach it without a click first.
    seite->setFocus();
}

QString frmMAINFENSTER::XMDBPFAD() {
    QString pfad = QFileInfo(QDir::cleanPath(PROGRAMMPFAD())).path() + QStringLiteral("/BENUTZER");
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    pfad += QLatin1Char('/') + BENUTZER();
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    return pfad + QLatin1Char('/') + kTitel + QStringLiteral(".mdb");
}
