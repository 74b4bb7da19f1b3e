#include "platform/runtime/System.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <pwd.h>
#include <unistd.h>

// One place reaches into the overrides, so that each function below asks
// "is there an override for this?" the same way: the innermost overrides
// object that sets the value wins.
struct SystemAccess {
    static SystemOverrides*& current()
    {
        static SystemOverrides* overrides = nullptr;
        return overrides;
    }
    template <class Pred>
    static SystemOverrides* find(Pred has)
    {
        for (SystemOverrides* o = current(); o; o = o->m_previous)
            if (has(*o)) return o;
        return nullptr;
    }
    static SystemOverrides* starts()
    {
        return find([](const SystemOverrides& o) { return o.m_recordStarts; });
    }
    static SystemOverrides* sleeps()
    {
        return find([](const SystemOverrides& o) { return o.m_skipSleeps; });
    }
    static const QString* loginName()
    {
        auto* o = find([](const SystemOverrides& x) { return x.m_hasLoginName; });
        return o ? &o->m_loginName : nullptr;
    }
    static const QString* language()
    {
        auto* o = find([](const SystemOverrides& x) { return x.m_hasLanguage; });
        return o ? &o->m_language : nullptr;
    }
    static const QString* decimal()
    {
        auto* o = find([](const SystemOverrides& x) { return x.m_hasDecimal; });
        return o ? &o->m_decimal : nullptr;
    }
    static const QString* programDir()
    {
        auto* o = find([](const SystemOverrides& x) { return x.m_hasProgramDir; });
        return o ? &o->m_programDir : nullptr;
    }
    static void recordStart(SystemOverrides* o, const QString& program, const QStringList& args)
    {
        o->m_started.append({program, args});
    }
    static void recordOpen(SystemOverrides* o, const QString& path) { o->m_opened.append(path); }
    static bool startSucceeds(const SystemOverrides* o) { return o->m_startSucceeds; }
    static void recordSleep(SystemOverrides* o, int ms) { o->m_sleeps.append(ms); }
};

namespace {

QString systemLoginName()
{
    // The account of the process, as the system knows it; the environment
    // only when the account database has no entry (containers, odd set-ups).
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    QString name = qEnvironmentVariable("LOGNAME");
    if (name.isEmpty()) name = qEnvironmentVariable("USER");
    return name;
}

// Swallows what the user does while a write is in progress; only events
// that come from the window system are dropped, the program's own still run.
class InputHoldFilter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!event->spontaneous()) return QObject::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close: event->ignore(); return true;
        default: return QObject::eventFilter(watched, event);
        }
    }
};

int g_holdCount = 0;
int g_mousePointer = vbDefault;
bool g_overrideCursorSet = false;

Qt::CursorShape cursorShape(int pointer)
{
    switch (pointer) {
    case vbArrow: return Qt::ArrowCursor;
    case vbHourglass: return Qt::WaitCursor;
    case vbArrowHourglass: return Qt::BusyCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

QString UserName()
{
    const QString* overridden = SystemAccess::loginName();
    const QString name = overridden ? *overridden : systemLoginName();
    if (name.trimmed().isEmpty()) return QStringLiteral("UNBEK.");
    return name.toUpper();
}

QString LocaleLanguageName()
{
    if (const QString* overridden = SystemAccess::language()) return *overridden;
    const QString name = QLocale().name();
    return name.section(QLatin1Char('_'), 0, 0);
}

namespace {
std::optional<bool> g_germanTexts;
} // namespace

bool GermanTexts()
{
    return g_germanTexts.value_or(QLocale().language() == QLocale::German);
}

void SetGermanTexts(std::optional<bool> german)
{
    g_germanTexts = german;
}

QString LocaleDecimalSeparator()
{
    if (const QString* overridden = SystemAccess::decimal()) return *overridden;
    return QLocale().decimalPoint();
}

bool InstallQtTranslations(const QLocale& locale, const QString& folder)
{
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (locale.language() == QLocale::C || locale.language() == QLocale::English) return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                           : folder))
        return false;
    installed = translator.release();
    QCoreApplication::installTranslator(installed);
    return true;
}

QString ProgramDirectory()
{
    if (const QString* overridden = SystemAccess::programDir()) return *overridden;
    return QCoreApplication::applicationDirPath();
}

void DoEvents()
{
    if (g_holdCount > 0 && QCoreApplication::instance()) {
        InputHoldFilter filter;
        QCoreApplication::instance()->installEventFilter(&filter);
        QCoreApplication::processEvents();
        QCoreApplication::instance()->removeEventFilter(&filter);
        return;
    }
    QCoreApplication::processEvents();
}

HoldUserInput::HoldUserInput() { ++g_holdCount; }
HoldUserInput::~HoldUserInput() { --g_holdCount; }
bool HoldUserInput::Active() { return g_holdCount > 0; }

void SleepWithEvents(int ms)
{
    if (SystemOverrides* o = SystemAccess::sleeps()) {
        SystemAccess::recordSleep(o, ms);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void SetMousePointer(int pointer)
{
    g_mousePointer = pointer;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    // One override cursor of ours at most, so that any number of "hourglass"
    // calls is undone by one "default".
    if (pointer == vbDefault) {
        if (g_overrideCursorSet) QGuiApplication::restoreOverrideCursor();
        g_overrideCursorSet = false;
        return;
    }
    if (g_overrideCursorSet) {
        QGuiApplication::changeOverrideCursor(QCursor(cursorShape(pointer)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(cursorShape(pointer)));
        g_overrideCursorSet = true;
    }
}

int MousePointer() { return g_mousePointer; }

bool StartProgram(const QString& program, const QStringList& arguments)
{
    if (SystemOverrides* o = SystemAccess::starts()) {
        SystemAccess::recordStart(o, program, arguments);
        return SystemAccess::startSucceeds(o);
    }
    return QProcess::startDetached(program, arguments);
}

bool OpenDocument(const QString& path)
{
    if (SystemOverrides* o = SystemAccess::starts()) {
        SystemAccess::recordOpen(o, path);
        return SystemAccess::startSucceeds(o);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid()) return defaultValue;
    // A value written by hand with a comma in it (a path such as
    // "/daten/labor,alt") reads as a list; it is one text all the same.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

bool GetSystemBeep(bool& beepOn)
{
    // There is no system-wide beep switch on this platform for a program to
    // read; the answer is "off", so that nothing ever needs switching.
    beepOn = false;
    return true;
}

bool SetSystemBeep(bool beepOn)
{
    // Nothing to change (see GetSystemBeep).
    Q_UNUSED(beepOn);
    return true;
}

SystemOverrides::SystemOverrides()
{
    m_previous = SystemAccess::current();
    SystemAccess::current() = this;
}

SystemOverrides::~SystemOverrides()
{
    // Overrides are undone in the reverse order of their making; one that
    // is not the innermost is unlinked where it stands.
    SystemOverrides** link = &SystemAccess::current();
    while (*link && *link != this) link = &(*link)->m_previous;
    if (*link) *link = m_previous;
}

void SystemOverrides::SetLoginName(const QString& name)
{
    m_loginName = name;
    m_hasLoginName = true;
}

void SystemOverrides::SetLanguageName(const QString& iso639)
{
    m_language = iso639;
    m_hasLanguage = true;
}

void SystemOverrides::SetDecimalSeparator(const QString& separator)
{
    m_decimal = separator;
    m_hasDecimal = true;
}

void SystemOverrides::SetProgramDirectory(const QString& path)
{
    m_programDir = path;
    m_hasProgramDir = true;
}

void SystemOverrides::RecordStartedPrograms(bool succeed)
{
    m_recordStarts = true;
    m_startSucceeds = succeed;
}

void SystemOverrides::SkipSleeps() { m_skipSleeps = true; }

int WindowTitleWidth(const QString& title) {
    // Window managers commonly draw the title in bold; icon, minimise,
    // maximise and close each take about a square of the bar's height.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() + 12;
    return metrics.horizontalAdvance(title) + 4 * bar;
}
