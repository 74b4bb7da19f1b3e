#include "evaluation/AUSWERTUNGSBEFEHLE.h"

#include "data/HAUPTFENSTER.h"
#include "evaluation/clsBERECHNEN.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <functional>
#include <memory>
#include <optional>

namespace {

const QString kSeite = QStringLiteral("mdiSEITE1");
const QString kMSeite = QStringLiteral("mdiMSEITE1");

// The caption of a menu item in the main window's language, with its
// access key: the title of the command's error box.
QString menutext(const char* name) {
    struct Text {
        const char* name;
        const char* deutsch;
        const char* englisch;
    };
    static const Text texte[] = {{"mnuAUSWERTEN", "&Auswerten", "&Evaluate"},
                                 {"mnuBERECHNEN", "&Berechnen", "&Calculate"},
                                 {"mnuMBERECHNEN", "&MBerechnen", "Calculate &Multiple"},
                                 {"mnuNEUBERECHNEN", "&Neuberechnen", "Calculate &First"}};
    for (const Text& t : texte)
        if (qstrcmp(t.name, name) == 0)
            return QString::fromLatin1(frmMAIN().SPRACHE() == 1 ? t.englisch : t.deutsch);
    return QString();
}

void menus(std::initializer_list<std::pair<const char*, bool>> zustaende) {
    for (const auto& [name, aktiv] : zustaende)
        frmMAIN().SETZEMENUAKTIV(QString::fromLatin1(name), aktiv);
}

Connection& projekt() {
    return *frmMAIN().DBPROJEKT();
}

// The command panels 10 to 15 of the page view, shown and raised.
void seitenpanels() {
    for (int panel = 10; panel <= 15; ++panel) {
        frmMAIN().SETZEPANELSICHTBAR(panel, true);
        frmMAIN().SETZEPANELBEVEL(panel, 2);
    }
}

// The page a command loads. The command lets events run after it shows the
// page, and an Esc, panel 15 or the page's own window may close it there:
// the close has set the menus and panels, and the command leaves them so.
class SEITENWACHE {
public:
    explicit SEITENWACHE(const QString& name) : m_name(name) {}
    // After the load: whether the page is there to be closed.
    void GELADEN() { m_geladen = frmMAIN().SEITEGELADEN(m_name); }
    bool GESCHLOSSEN() const { return m_geladen && !frmMAIN().SEITEGELADEN(m_name); }

private:
    QString m_name;
    bool m_geladen = false;
};

// A command left through Cancel: the main window takes input again and the
// progress bar goes, whatever step the command had reached.
void verlassen() {
    frmMAIN().SETZEAKTIV(true);
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
    SetMousePointer(vbDefault);
}

// The bar at 100, the pause, then the bar hidden and back at 0 (the order of
// the last two as the command has it).
void pause(bool erstVerbergen) {
    frmMAIN().SETZEFORTSCHRITT(100);
    DoEvents();
    SleepWithEvents(1500);
    if (erstVerbergen) {
        frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
        frmMAIN().SETZEFORTSCHRITT(0);
    } else {
        frmMAIN().SETZEFORTSCHRITT(0);
        frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
    }
}

} // namespace

namespace AUSWERTUNG {

QString OHNEERGEBNIS(const QString& auswahl) {
    Recordset offen(
        QStringLiteral("SELECT [E1].[KEN] FROM [E1] LEFT JOIN [A1] ON [A1].[ID]=[E1].[ID] WHERE (") +
            auswahl +
            QStringLiteral(") AND ([A1].[ID] IS NULL OR [A1].[BONEU]=true) ORDER BY [E1].[ID]"),
        projekt());
    const QString ken = offen.Eof() ? QString() : CStr(offen.Value(QStringLiteral("KEN")));
    offen.Close();
    return ken;
}

QString ZUERSTEINZELN(const QString& KEN) {
    return frmMAIN().SPRACHE() == 1
               ? QStringLiteral("File ") + KEN + QStringLiteral(" has to be calculated first!")
               : QStringLiteral("Datensatz ") + KEN +
                     QStringLiteral(" muß zuerst einzeln ausgewertet werden!");
}

void mnuAUSWERTEN_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), menutext("mnuAUSWERTEN"));
    SetMousePointer(vbHourglass);
    // The count of active records has no 16-bit limit: a project may hold
    // more than 32,767 of them.
    int32_t n = 0;
    int32_t id = 0;
    eh.Run([&] {
        Recordset aktive(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true"), projekt());
        if (!aktive.Eof()) {
            aktive.MoveLast();
            n = CLng(aktive.RecordCount());
            if (n == 1) id = CLng(aktive.Value(QStringLiteral("ID")));
        }
        aktive.Close();
    });
    if (eh.Left()) return SetMousePointer(vbDefault);

    if (n == 0) {
        menus({{"mnuEINGABEGRAFIK", false},
               {"mnuBERECHNEN", false},
               {"mnuMBERECHNEN", false},
               {"mnuFBERECHNEN", false},
               {"mnuNEUBERECHNEN", false}});
    } else if (n == 1) {
        QVariant boneu;
        eh.Run([&] {
            Recordset a1(QStringLiteral("SELECT [ID],[BONEU] FROM [A1] WHERE [ID]=") +
                             QString::number(id),
                         projekt());
            if (a1.Eof()) {
                a1.AddNew();
                a1.SetValue(QStringLiteral("ID"), id);
                a1.SetValue(QStringLiteral("BONEU"), true);
                a1.Update();
            }
            boneu = a1.Value(QStringLiteral("BONEU"));
            a1.Close();
        });
        if (eh.Left()) return SetMousePointer(vbDefault);
        // A flag that is not True (False or Null) means current results.
        if (!IsNull(boneu) && !IsEmpty(boneu) && CBool(boneu))
            menus({{"mnuBERECHNEN", false},
                   {"mnuMBERECHNEN", false},
                   {"mnuFBERECHNEN", false},
                   {"mnuNEUBERECHNEN", true}});
        else
            menus({{"mnuBERECHNEN", true}, {"mnuMBERECHNEN", false}, {"mnuNEUBERECHNEN", true}});
    } else {
        menus({{"mnuEINGABEGRAFIK", false}, {"mnuBERECHNEN", false}});
        eh.Run([&] {
            Recordset e1(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=0"), projekt());
            if (e1.Eof()) {
                e1.AddNew();
                e1.SetValue(QStringLiteral("ID"), 0);
                e1.SetValue(QStringLiteral("KEN"), QStringLiteral("M"));
                e1.SetValue(QStringLiteral("KOM"), QStringLiteral("Mehrfachauswertung"));
                e1.Update();
            }
            e1.Close();
        });
        eh.Run([&] {
            Recordset a1(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=0"), projekt());
            if (a1.Eof()) {
                a1.AddNew();
                a1.SetValue(QStringLiteral("ID"), 0);
                a1.SetValue(QStringLiteral("BONEU"), true);
                a1.Update();
            }
            a1.Close();
        });
        menus({{"mnuMBERECHNEN", true}, {"mnuFBERECHNEN", false}, {"mnuNEUBERECHNEN", false}});
    }
    SetMousePointer(vbDefault);
}

void mnuBERECHNEN_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), menutext("mnuBERECHNEN"));
    SEITENWACHE seite(kSeite);
    const std::function<void()> schritte[] = {
        [] { SetMousePointer(vbHourglass); },
        [] { frmMAIN().SETZEAKTIV(false); },
        [] { frmMAIN().SETZEFORTSCHRITTSICHTBAR(true); },
        [] { DoEvents(); },
        [&] {
            frmMAIN().SEITELADEN(kSeite);
            seite.GELADEN();
        },
        [] { DoEvents(); },
        [] { frmMAIN().SETZEAKTIV(true); },
        [] { frmMAIN().SEITEZEIGEN(kSeite); },
        [&] {
            if (!seite.GESCHLOSSEN()) seitenpanels();
        },
        [] { pause(true); },
        [] { frmMAIN().SETZEBOGEAENDERT(true); },
        [&] {
            if (!seite.GESCHLOSSEN()) frmMAIN().SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false);
        },
        [] { SetMousePointer(vbDefault); },
    };
    for (const auto& schritt : schritte) {
        if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
        eh.Run(schritt);
    }
    if (eh.Left()) verlassen();
}

void mnuNEUBERECHNEN_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), menutext("mnuNEUBERECHNEN"));
    eh.Run([] { frmMAIN().SETZEAKTIV(false); });
    eh.Run([] { frmMAIN().SETZEFORTSCHRITTSICHTBAR(true); });
    int32_t id = 0;
    QString ken;
    eh.Run([&] {
        Recordset aktive(
            QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"),
            projekt());
        aktive.MoveFirst();
        id = CLng(aktive.Value(QStringLiteral("ID")));
        const QVariant kennung = aktive.Value(QStringLiteral("KEN"));
        if (!IsNull(kennung)) ken = CStr(kennung);
        aktive.Close();
    });
    // The record's A1 row is made anew with the flag set, whole or not at
    // all; the row set stays on it until the page is shown.
    auto a1 = std::make_unique<Recordset>();
    const bool neueZeile = eh.Run([&] {
        Transaction zeile(projekt());
        a1->Open(QStringLiteral("SELECT [ID],[BONEU] FROM [A1] WHERE [ID]=") + QString::number(id),
                 projekt());
        if (!a1->Eof()) {
            a1->MoveFirst();
            a1->Delete();
        }
        a1->AddNew();
        a1->SetValue(QStringLiteral("ID"), id);
        a1->SetValue(QStringLiteral("BONEU"), true);
        a1->Update();
        zeile.Commit();
    });
    // From here on the record's old results are gone: a refusal of the copy
    // says that the record waits for a recalculation, not that nothing was
    // changed.
    std::optional<DatabaseError::WhatStands> stand;
    if (neueZeile)
        stand.emplace(QStringLiteral("der Datensatz %1 wartet auf eine Neuberechnung").arg(ken),
                      QStringLiteral("the record %1 waits for a recalculation").arg(ken));
    eh.Run([] { DoEvents(); });
    // The run may end whenever events run or a box waits: the command stops
    // there, and nothing is evaluated or written into the closed copy.
    if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
    eh.Run([] { SetMousePointer(vbHourglass); });
    if (eh.Left()) return verlassen();

    auto berechnung = std::make_unique<clsBERECHNEN>();
    bool ergebnis = false;
    eh.Run([&] { ergebnis = berechnung->BERECHNUNG(); });
    if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
    if (!ergebnis) {
        // No page; the record stays marked for recalculation.
        frmMAIN().SETZEAKTIV(true);
        frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
        SetMousePointer(vbDefault);
        return;
    }
    SEITENWACHE seite(kSeite);
    const std::function<void()> zeigen[] = {
        [] { DoEvents(); },
        [&] {
            frmMAIN().SEITELADEN(kSeite);
            seite.GELADEN();
        },
        [&] {
            berechnung.reset();
            DoEvents();
        },
        [] { frmMAIN().SETZEAKTIV(true); },
        [] { frmMAIN().SEITEZEIGEN(kSeite); },
        [] { DoEvents(); },
        [&] {
            if (!seite.GESCHLOSSEN()) seitenpanels();
        },
    };
    // A run that ended meanwhile leaves the flag set: the results are
    // computed again.
    for (const auto& schritt : zeigen) {
        if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
        eh.Run(schritt);
    }
    if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
    // The results are stored and current, whether or not their page is
    // still open.
    eh.Run([&] {
        a1->SetValue(QStringLiteral("BONEU"), false);
        a1->Update();
        a1->Close();
    });
    eh.Run([] { pause(true); });
    if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
    eh.Run([] { frmMAIN().SETZEBOGEAENDERT(true); });
    eh.Run([&] {
        if (!seite.GESCHLOSSEN()) frmMAIN().SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false);
    });
    eh.Run([] { SetMousePointer(vbDefault); });
    if (eh.Left()) verlassen();
}

void mnuMBERECHNEN_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), menutext("mnuMBERECHNEN"));
    eh.Run([] { SetMousePointer(vbHourglass); });
    // A record never evaluated by itself (an imported one keeps its active
    // flag) would be drawn flat at 0 and counted with 0 in the mean and the
    // spread: it is refused as the selection dialog refuses it, before
    // anything is asked or written. Unchecked, nothing goes on.
    QString offen;
    // The active records in the order the page of the multiple evaluation
    // takes them.
    if (!eh.Run([&] {
            offen = OHNEERGEBNIS(QStringLiteral("[E1].[AKT]=true AND [E1].[ID]<>0"));
        }))
        return SetMousePointer(vbDefault);
    if (!offen.isEmpty()) {
        SetMousePointer(vbDefault);
        MsgBox(ZUERSTEINZELN(offen), vbOKOnly + vbExclamation, menutext("mnuMBERECHNEN"));
        return;
    }
    // The comment is asked before its row is begun: a run that ends while
    // the box waits writes nothing into the closed copy.
    const std::optional<bool> ohneKommentar = eh.Value([] {
        return Recordset(QStringLiteral("SELECT * FROM [M1] WHERE [IDM]=1"), projekt()).Eof();
    });
    if (ohneKommentar && *ohneKommentar) {
        const bool englisch = frmMAIN().SPRACHE() == 1;
        const QString kommentar =
            englisch
                ? InputBox(QStringLiteral("Comment: "), QStringLiteral("Mulitple Calculation"))
                : InputBox(QStringLiteral("Kommentar: "), QStringLiteral("Mehrfachauswertung"));
        if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
        eh.Run([&] {
            Recordset m1(QStringLiteral("SELECT * FROM [M1] WHERE [IDM]=1"), projekt());
            m1.AddNew();
            m1.SetValue(QStringLiteral("IDM"), 1);
            m1.SetValue(QStringLiteral("KOM"), kommentar);
            m1.Update();
            m1.Close();
        });
    }
    const std::function<void()> schritte[] = {
        [] { frmMAIN().SETZEAKTIV(false); },
        [] { frmMAIN().SETZEFORTSCHRITTSICHTBAR(true); },
        [] { frmMAIN().SEITELADEN(kMSeite); },
        [] { pause(false); },
        [] { seitenpanels(); },
        [] {
            Recordset a1(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=0"), projekt());
            a1.MoveFirst();
            a1.SetValue(QStringLiteral("BONEU"), false);
            a1.Update();
            a1.Close();
        },
        [] { frmMAIN().SETZEAKTIV(true); },
        [] { frmMAIN().SEITEZEIGEN(kMSeite); },
        [] { frmMAIN().SETZEBOGEAENDERT(true); },
        [] { frmMAIN().SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false); },
        [] { frmMAIN().SETZEMENUAKTIV(QStringLiteral("mnuEXTRAS"), false); },
        [] { SetMousePointer(vbDefault); },
    };
    for (const auto& schritt : schritte) {
        // The run may end while the command lets events run: it stops.
        if (frmMAIN().ENDET()) return SetMousePointer(vbDefault);
        eh.Run(schritt);
    }
    if (eh.Left()) verlassen();
}

} // namespace AUSWERTUNG
