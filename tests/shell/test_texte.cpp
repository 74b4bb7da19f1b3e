// The main window's texts: menu captions and states in German and English,
// the status-bar panels, the project path of panel 1 and the record panel.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/DatabaseError.h"
#include "platform/runtime/System.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <functional>
#include <gtest/gtest.h>

namespace {
struct Eintrag {
    const char* name;
    const char* deutsch;
    const char* englisch;
    bool aktiv;
};

// Every menu and item with its captions and its state at start.
const Eintrag kMenus[] = {
    {"mnuDATEI", "&Datei", "&File", true},
    {"mnuNEU", "&Neu", "&New", true},
    {"mnuOEFFNEN", "&Öffnen", "&Open", true},
    {"mnuAUSWAHL", "&Auswahl", "&Select", true},
    {"mnuEXPIMP", "&Export-Import", "&Export-Import", true},
    {"mnuEXPINF", "Export-&Inf.system", "Export-&Inf.system", true},
    {"mnuLOESCHEN", "&Löschen", "&Delete", true},
    {"mnuSCHLIESSEN", "&Schließen", "&Done", true},
    {"mnuSPEICHERN", "&Speichern", "&Save", true},
    {"mnuBEENDEN", "&Beenden", "&Quit", true},
    {"mnuAUSWERTEN", "&Auswerten", "&Evaluate", true},
    {"mnuEINGABEGRAFIK", "&Eingabegrafik", "&Graphics of Input Data", false},
    {"mnuBERECHNEN", "&Berechnen", "&Calculate", true},
    {"mnuMBERECHNEN", "&MBerechnen", "Calculate &Multiple", false},
    {"mnuFBERECHNEN", "&FBerechnen", "Calculate &Next", false},
    {"mnuNEUBERECHNEN", "&Neuberechnen", "Calculate &First", true},
    {"mnuEXTRAS", "E&xtras", "Tools", true},
    {"mnuVVORGABEN", "&Vorgaben", "Preset Data", false},
    {"mnuVEVORGABEN", "&Elektronikvorgaben", "Preset Electronic Data", false},
    {"mnuWERKZEUGE", "&Werkzeuge", "Grafic Tools", false},
    {"mnuTEXT", "&Text", "Text", true},
    {"mnuPOLYGON", "&Polygon", "Polygon", true},
    {"mnuKREIS", "&Kreisbogen", "Circle", true},
    {"mnuKOMPRIMIEREN", "&Komprimieren", "Compact Database", true},
    {"mnuFRAGEZEICHEN", "&?", "&?", true},
    {"mnuHILFE", "&Hilfe", "Help", true},
    {"mnuREADME", "&ReadMe", "&ReadMe", true},
    {"mnuHINWEISE", "Hin&weise", "Hin&weise", true},
    {"mnuINFO", "&Info", "&Info", true},
};

struct Panel {
    int index;
    const char* deutsch;
    const char* deutscherTipp;
    const char* englisch;
    const char* englischerTipp;
};

const Panel kPanels[] = {
    {8, "OK", "Eingabedaten speichern", "OK", "Save input-data"},
    {9, "Abbrechen", "Eingabedaten verwerfen", "Cancel", "Discard input-data"},
    {10, "Anzeigen", "Ausgabeseite anzeigen", "Show", "Show another page"},
    {11, "Drucken", "Ausgabeseite drucken", "Print", "Print loaded pages"},
    {12, "Kopie", "Bildschirmkopie speichern", "Copy", "Save Screenshot"},
    {13, "Word", "Ausgabeseite in ein Word-Dokument übertragen", "Word",
     "Send current page to word"},
    {14, "AutoCAD", "Ausgabeseite in eine AutoCAD-Zeichnung übertragen", "AutoCAD",
     "Send current page to AutoCAD"},
    {15, "Schließen", "Zurück zum Startbildschirm", "Close", "Back to the front window"},
};

QString beschriftung(frmMAINFENSTER& f, const char* name) {
    if (auto* menu = f.findChild<QMenu*>(QString::fromLatin1(name))) return menu->title();
    return f.findChild<QAction*>(QString::fromLatin1(name))->text();
}

bool aktiv(frmMAINFENSTER& f, const char* name) {
    return f.MENUAKTIV(QString::fromLatin1(name));
}

void pruefeTexte(const QString& sprache, bool englisch) {
    SHELLLABOR labor(sprache);
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(f.SPRACHE(), englisch ? 1 : 3);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Korvalind"));
    for (const Eintrag& e : kMenus) {
        EXPECT_EQ(beschriftung(f, e.name), QString::fromUtf8(englisch ? e.englisch : e.deutsch))
            << e.name;
        EXPECT_EQ(aktiv(f, e.name), e.aktiv) << e.name;
    }
    for (const Panel& p : kPanels) {
        const PANEL* panel = f.stbMAIN->Panels(p.index);
        EXPECT_EQ(panel->Text(), QString::fromUtf8(englisch ? p.englisch : p.deutsch)) << p.index;
        EXPECT_EQ(panel->ToolTipText(),
                  QString::fromUtf8(englisch ? p.englischerTipp : p.deutscherTipp))
            << p.index;
        EXPECT_FALSE(panel->Visible()) << p.index;
    }
    EXPECT_EQ(f.stbMAIN->Panels(3)->Text(), QStringLiteral("/"));
    EXPECT_EQ(f.stbMAIN->Panels(5)->Text(), QStringLiteral("/"));
    EXPECT_EQ(f.stbMAIN->Panels(7)->Text(), QString());
    EXPECT_EQ(f.stbMAIN->Panels(4)->Text(), QStringLiteral("VELD"));
}
} // namespace

TEST(Texte, GermanRunKeepsTheDesignCaptions) {
    pruefeTexte(QStringLiteral("de"), false);
}

TEST(Texte, EnglishRunSetsTheEnglishCaptionsAndLeavesSomeGerman) {
    pruefeTexte(QStringLiteral("en"), true);
}

TEST(Texte, OnlyExactlyEnGivesEnglish) {
    pruefeTexte(QStringLiteral("fr"), false);
    pruefeTexte(QStringLiteral("EN"), false);
    pruefeTexte(QStringLiteral("C"), false);
}

TEST(Texte, StatusBarPanelsHaveTheirDesignWidths) {
    SHELLLABOR labor;
    frmMAINFENSTER f;
    const int breiten[] = {2461, 1402, 318,  2064, 318,  1984, 12136, 2293,
                           2293, 2293, 2293, 2293, 2293, 2293, 2293};
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(f.stbMAIN->Panels(i)->WidthTwips(), breiten[i - 1]) << i;
    EXPECT_EQ(f.stbMAIN->Panels(0), nullptr);
    EXPECT_EQ(f.stbMAIN->Panels(16), nullptr);
}

TEST(Projektpfad, ShortPathsAreShownWhole) {
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("/daten/Projekte")),
              QStringLiteral("/daten/Projekte/"));
    // 20 characters: whole.
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("C:/Projekte/Labor/A1")),
              QStringLiteral("C:/Projekte/Labor/A1/"));
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QString()), QStringLiteral("/"));
}

TEST(Projektpfad, LongPathsLoseTheirLeadingComponents) {
    // 21 characters lose only their first character.
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("C:/Projekte/Labor/A12")),
              QStringLiteral(" ... :/Projekte/Labor/A12/"));
    // 28 characters: the first pass drops the drive letter, the second the
    // leading component.
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("C:/Projekte/Labor/2002/Boden")),
              QStringLiteral(" ... /Labor/2002/Boden/"));
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("/home/labor/Projekte/2002/Boden")),
              QStringLiteral(" ... /Projekte/2002/Boden/"));
}

TEST(Projektpfad, ALastComponentOfMoreThanTwentyCharactersEndsTheShortening) {
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(
                  QStringLiteral("/home/labor/Bodenmechanik-Projekte-2002")),
              QStringLiteral(" ... chanik-Projekte-2002/"));
    // No separator at all.
    EXPECT_EQ(frmMAINFENSTER::PROJEKTPFADANZEIGE(QStringLiteral("abcdefghijklmnopqrstuvwxyz")),
              QStringLiteral(" ... ghijklmnopqrstuvwxyz/"));
}

namespace {
void datensatzpanel(const std::function<void(const QString&)>& fuellen, const QString& text,
                    const QString& tipp) {
    SHELLLABOR labor;
    fuellen(labor.PROJEKTDATENBANK());
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(f.stbMAIN->Panels(6)->Text(), text);
    EXPECT_EQ(f.stbMAIN->Panels(6)->ToolTipText(), tipp);
}
} // namespace

TEST(Datensatzanzeige, NoActiveRecordShowsADash) {
    datensatzpanel(
        [](const QString& db) {
            SHELLLABOR::DATENSATZ(db, 1, QStringLiteral("A"), false, QStringLiteral("x"));
        },
        QStringLiteral("-"), QString());
}

TEST(Datensatzanzeige, OneActiveRecordShowsItsIdentifierAndComment) {
    datensatzpanel(
        [](const QString& db) {
            SHELLLABOR::DATENSATZ(db, 1, QStringLiteral("A"), false, QStringLiteral("nicht aktiv"));
            SHELLLABOR::DATENSATZ(db, 2, QStringLiteral("B-7"), true,
                                  QString::fromUtf8("Schluff, tonig"));
        },
        QStringLiteral("B-7"), QString::fromUtf8("Schluff, tonig"));
    datensatzpanel(
        [](const QString& db) { SHELLLABOR::DATENSATZ(db, 1, QStringLiteral("K"), true); },
        QStringLiteral("K"), QString());
}

TEST(Datensatzanzeige, SeveralActiveRecordsShowTheFirstAndListAllInTheToolTip) {
    datensatzpanel(
        [](const QString& db) {
            SHELLLABOR::DATENSATZ(db, 1, QStringLiteral("C"), true);
            SHELLLABOR::DATENSATZ(db, 2, QStringLiteral("A"), true);
            SHELLLABOR::DATENSATZ(db, 3, QStringLiteral("B"), true);
        },
        QStringLiteral("A,..."), QStringLiteral("A, B, C"));
}

// Items created disabled stay disabled when the window or their menu is
// disabled and enabled again, as the commands do while they work.
TEST(Texte, ItemsCreatedDisabledStayDisabled) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    for (bool aus : {false, true}) {
        f.setEnabled(aus);
        for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
            f.SETZEMENUAKTIV(QString::fromLatin1(menu), aus);
    }
    for (const Eintrag& e : kMenus) {
        if (!e.aktiv) {
            EXPECT_FALSE(aktiv(f, e.name)) << e.name;
        }
    }
}

// On a machine whose locale is neither German nor English (C.UTF-8), the
// program speaks German, and so do the platform's own texts in its boxes.
TEST(Texte, ThePlatformsTextsSpeakTheProgramsLanguageWhateverTheLocale) {
    SHELLLABOR labor;
    QLocale::setDefault(QLocale::c());
    ScriptedDialogs boxen;
    {
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        EXPECT_EQ(f.SPRACHE(), 3);
        EXPECT_EQ(DatabaseError::LockedError(QStringLiteral("X")).Description(),
                  QString::fromUtf8("Die Datenbank X ist gerade von einem anderen Lauf oder "
                                    "Programm gesperrt; es wurde nichts geändert."));
        EXPECT_EQ(DatabaseError::ObjectClosedError().Description(),
                  QString::fromUtf8("Der Vorgang ist für ein geschlossenes Objekt nicht zulässig."));
        f.mnuBEENDEN_Click();
    }
    // Once the window is gone, the locale decides again.
    EXPECT_FALSE(GermanTexts());
}
