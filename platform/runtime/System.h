#pragma once

// What the program asks of the operating system: the user, the locale, its
// own directory, the event loop, the mouse pointer, other programs and the
// per-user settings. Tests replace what depends on the machine through
// SystemOverrides.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QLocale;

// The login name in upper case; "UNBEK." when it cannot be had.
QString UserName();

// The user's locale (the default QLocale): its ISO 639 language name ("de",
// "en"; "C" for the C locale) and its decimal separator.
QString LocaleLanguageName();
QString LocaleDecimalSeparator();

// Whether the platform's own texts (runtime and database errors, the
// buttons of the boxes, the waiting window) are German. The program decides
// its language once at start and sets it here, so that no English text
// stands in a German box; until then, and after it is reset (nullopt), the
// locale's language decides.
bool GermanTexts();
void SetGermanTexts(std::optional<bool> german);

// Qt's own texts (the buttons and labels of the platform's standard dialogs:
// printing, colours) in the language of `locale`, from Qt's "qtbase"
// catalogue; it takes the place of one installed before. C and English keep
// Qt's own English, and so does a language whose catalogue is missing.
// Returns whether a catalogue is in use. The catalogues are looked for in
// `folder`, Qt's own translations folder when it is empty.
bool InstallQtTranslations(const QLocale& locale, const QString& folder = QString());

// The directory that holds the program's executable (no trailing "/").
QString ProgramDirectory();

// Lets pending window events run (repaints, timers, user input).
void DoEvents();

// While one of these lives, DoEvents still repaints but drops what the user
// types or clicks and any attempt to close a window, so that nothing can start
// while the data layer is half-way through a write. Message boxes shown in
// the meantime take input as usual.
class HoldUserInput {
public:
    HoldUserInput();
    ~HoldUserInput();
    HoldUserInput(const HoldUserInput&) = delete;
    HoldUserInput& operator=(const HoldUserInput&) = delete;
    static bool Active();
};

// Waits ms milliseconds while windows keep repainting. User input that comes
// meanwhile waits until the pause is over, as it would behind a sleeping
// program.
void SleepWithEvents(int ms);

// The mouse pointer of the whole application: 0 default, 1 arrow,
// 11 hourglass, 13 arrow with hourglass (others count as the default).
enum MousePointerCode { vbDefault = 0, vbArrow = 1, vbHourglass = 11, vbArrowHourglass = 13 };
void SetMousePointer(int pointer);
int MousePointer();

// The width a window needs so that its title bar shows the title whole,
// beside the icon and buttons that a window manager puts there.
int WindowTitleWidth(const QString& title);

// Starts a program and does not wait for it; false when it could not start.
bool StartProgram(const QString& program, const QStringList& arguments = QStringList());
// Opens a document with the desktop's program for it; false when that failed.
bool OpenDocument(const QString& path);

// The per-user settings of an application of the suite: the value of key in
// section, read through QSettings with the application as organization
// ($XDG_CONFIG_HOME/KORVA.conf for "KORVA", section "Extras", key
// "Datenbankpfad"). A missing value gives defaultValue.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

// The system-beep setting. This platform has no such setting: reading
// succeeds and reports the beep as off, and setting it changes nothing.
// Both return whether the call succeeded.
bool GetSystemBeep(bool& beepOn);
bool SetSystemBeep(bool beepOn);

// Replaces, while it lives, what the functions above take from the machine.
// Overrides nest: the destructor restores those that were in force before.
class SystemOverrides {
public:
    struct StartedProgram {
        QString program;
        QStringList arguments;
    };

    SystemOverrides();
    ~SystemOverrides();
    SystemOverrides(const SystemOverrides&) = delete;
    SystemOverrides& operator=(const SystemOverrides&) = delete;

    // The login name as the system would give it; UserName() still upper-
    // cases it. An empty name stands for a failure ("UNBEK.").
    void SetLoginName(const QString& name);
    void SetLanguageName(const QString& iso639);
    void SetDecimalSeparator(const QString& separator);
    void SetProgramDirectory(const QString& path);

    // From the first call on, StartProgram and OpenDocument start nothing:
    // they record the call and return `succeed`.
    void RecordStartedPrograms(bool succeed = true);
    const QList<StartedProgram>& StartedPrograms() const { return m_started; }
    const QStringList& OpenedDocuments() const { return m_opened; }

    // SleepWithEvents lets pending events run once and returns at once; the
    // pauses asked for are recorded.
    void SkipSleeps();
    const QList<int>& Sleeps() const { return m_sleeps; }

private:
    friend struct SystemAccess;
    SystemOverrides* m_previous = nullptr;
    QString m_loginName;
    bool m_hasLoginName = false;
    QString m_language;
    bool m_hasLanguage = false;
    QString m_decimal;
    bool m_hasDecimal = false;
    QString m_programDir;
    bool m_hasProgramDir = false;
    bool m_recordStarts = false;
    bool m_startSucceeds = true;
    QList<StartedProgram> m_started;
    QStringList m_opened;
    bool m_skipSleeps = false;
    QList<int> m_sleeps;
};
