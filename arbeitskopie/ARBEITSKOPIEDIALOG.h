#pragma once

// What the working copy needs of the run it belongs to: the questions and
// notices it puts to the user, whether the run ended meanwhile, the
// language, and where the project and the copy lie. The main window
// implements it through the program's message boxes; tests put their own in
// its place.

#include <QString>
#include <cstdint>
#include <functional>

class ARBEITSKOPIEDIALOG {
public:
    virtual ~ARBEITSKOPIEDIALOG() = default;

    // A box with the text, the style (buttons, icon, default button as the
    // message box service takes them) and the title; its answer (vbOK,
    // vbYes, ...). A help file and context give it a Help button.
    virtual int FRAGEN(const QString& text, int stil, const QString& titel,
                       const QString& hilfedatei = QString(), int kontext = 0) = 0;

    // Whether the run's window is still loaded (a session that ended in a
    // box unloads it), whether its unload has run, and whether the session
    // ended while the start-up ran.
    virtual bool GELADEN() = 0;
    virtual bool ENTLADEN() const = 0;
    virtual bool SITZUNGENDET() const = 0;

    // A line the user can read afterwards without a box (the status bar):
    // what a Save took from others, say. `ganz`: the whole of it, where the
    // line is short.
    virtual void HINWEISEN(const QString& zeile, const QString& ganz) {
        (void)zeile;
        (void)ganz;
    }

    // A step to run once the current command is over (the event loop's next
    // turn), while the run lives. Without an event loop: never.
    virtual void SPAETER(std::function<void()> schritt) { (void)schritt; }

    // The program's language: 1 English, otherwise German.
    virtual int16_t SPRACHE() = 0;
    // The project's name, its database, and the working copy's path (its
    // folders made when missing).
    virtual QString PROJEKT() = 0;
    virtual QString PROJEKTDATENBANK() const = 0;
    virtual QString XMDBPFAD() = 0;
};
