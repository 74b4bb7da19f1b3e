#include "platform/runtime/System.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace {
// A window that counts the keys and close requests that reach it.
class Target : public QWidget {
public:
    int keys = 0;
    int closes = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void closeEvent(QCloseEvent* e) override
    {
        ++closes;
        e->accept();
    }
};

// A key and a close request of the user, arriving while pending events run:
// delivered as the window system delivers them (spontaneous, the close to
// the widget's window) from a zero timer.
void userKeyAndCloseDuringEvents(QWidget* w)
{
    QTimer::singleShot(0, w, [w] {
        QTest::keyClick(w, Qt::Key_A);
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QCoreApplication::instance()->notify(w->windowHandle(), &close);
    });
}

QString configFile() { return qEnvironmentVariable("XDG_CONFIG_HOME") + "/KORVA.conf"; }
}  // namespace

TEST(System, UserNameIsTheLoginNameInUpperCase)
{
    const QString real = UserName();
    EXPECT_FALSE(real.isEmpty());
    EXPECT_EQ(real, real.toUpper());

    SystemOverrides o;
    o.SetLoginName("mueller");
    EXPECT_EQ(UserName(), "MUELLER");
    o.SetLoginName("Jörg.Weiß");
    EXPECT_EQ(UserName(), QString("Jörg.Weiß").toUpper());
    o.SetLoginName("");
    EXPECT_EQ(UserName(), "UNBEK.");
}

TEST(System, LanguageAndDecimalSeparatorFollowTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(LocaleLanguageName(), "de");
    EXPECT_EQ(LocaleDecimalSeparator(), ",");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(LocaleLanguageName(), "en");
    EXPECT_EQ(LocaleDecimalSeparator(), ".");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Switzerland));
    EXPECT_EQ(LocaleLanguageName(), "fr");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(LocaleDecimalSeparator(), ".");
}

TEST(System, OverridesWinAndNestAndRestore)
{
    QLocale::setDefault(QLocale::c());
    const QString realDir = ProgramDirectory();
    EXPECT_EQ(realDir, QCoreApplication::applicationDirPath());
    {
        SystemOverrides outer;
        outer.SetLanguageName("en");
        outer.SetProgramDirectory("/opt/SOURCE/VELD");
        {
            SystemOverrides inner;
            inner.SetLanguageName("de");
            inner.SetDecimalSeparator(",");
            EXPECT_EQ(LocaleLanguageName(), "de");
            EXPECT_EQ(LocaleDecimalSeparator(), ",");
            EXPECT_EQ(ProgramDirectory(), "/opt/SOURCE/VELD");  // from the outer one
        }
        EXPECT_EQ(LocaleLanguageName(), "en");
        EXPECT_EQ(LocaleDecimalSeparator(), ".");
    }
    EXPECT_EQ(ProgramDirectory(), realDir);
    EXPECT_EQ(LocaleLanguageName(), "C");
}

TEST(System, SettingsValueOfTheSuite)
{
    // The frame program leaves the value in the suite's settings file.
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    QFile file(configFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Extras]\nDatenbankpfad=/srv/labor/datenbank\n");
    file.close();
    EXPECT_EQ(GetSetting("KORVA", "Extras", "Datenbankpfad"), "/srv/labor/datenbank");
    EXPECT_EQ(GetSetting("KORVA", "Extras", "Fehlt"), "");
    EXPECT_EQ(GetSetting("KORVA", "Andere", "Datenbankpfad", "vorgabe"), "vorgabe");

    // A hand-written path with a comma is still one value.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Extras]\nDatenbankpfad=/srv/labor,alt/datenbank2\n");
    file.close();
    EXPECT_EQ(GetSetting("KORVA", "Extras", "Datenbankpfad"), "/srv/labor,alt/datenbank2");

    SaveSetting("KORVA", "Extras", "Datenbankpfad", "/home/lab/Prüfung, 2024\\db");
    EXPECT_EQ(GetSetting("KORVA", "Extras", "Datenbankpfad"), "/home/lab/Prüfung, 2024\\db");
    EXPECT_TRUE(QFile::exists(configFile()));
    QFile::remove(configFile());
    EXPECT_EQ(GetSetting("KORVA", "Extras", "Datenbankpfad"), "");
}

TEST(System, StartingProgramsAndDocuments)
{
    {
        SystemOverrides o;
        o.RecordStartedPrograms();
        EXPECT_TRUE(StartProgram("/opt/KORVA", {"-x"}));
        EXPECT_TRUE(OpenDocument("/opt/VELD/VELD.doc"));
        ASSERT_EQ(o.StartedPrograms().size(), 1);
        EXPECT_EQ(o.StartedPrograms().at(0).program, "/opt/KORVA");
        EXPECT_EQ(o.StartedPrograms().at(0).arguments, QStringList{"-x"});
        EXPECT_EQ(o.OpenedDocuments(), QStringList{"/opt/VELD/VELD.doc"});
        o.RecordStartedPrograms(false);
        EXPECT_FALSE(StartProgram("/opt/KORVA"));
    }
    // The real start does not wait, and says when the program is not there.
    QTemporaryDir dir;
    EXPECT_FALSE(StartProgram(dir.filePath("KORVA")));
    EXPECT_TRUE(StartProgram("/bin/true"));
}

TEST(System, MousePointerThroughTheOverrideCursor)
{
    SetMousePointer(vbHourglass);
    SetMousePointer(vbHourglass);
    EXPECT_EQ(MousePointer(), 11);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetMousePointer(vbDefault);  // one default undoes any number of hourglasses
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetMousePointer(vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(System, HeldInputIsDroppedWhileTimersRun)
{
    Target target;
    target.show();
    QApplication::processEvents();

    bool timerRan = false;
    {
        HoldUserInput hold;
        EXPECT_TRUE(HoldUserInput::Active());
        QTimer::singleShot(0, [&] { timerRan = true; });
        userKeyAndCloseDuringEvents(&target);
        DoEvents();
        EXPECT_TRUE(timerRan);
        EXPECT_EQ(target.keys, 0);
        EXPECT_EQ(target.closes, 0);
        EXPECT_TRUE(target.isVisible());
        // The program itself may still close its windows.
        Target own;
        own.show();
        own.close();
        EXPECT_EQ(own.closes, 1);
        // Outside DoEvents (a message box shown meanwhile) input is taken.
        QTest::keyClick(&target, Qt::Key_A);
        EXPECT_EQ(target.keys, 1);
    }
    EXPECT_FALSE(HoldUserInput::Active());
    userKeyAndCloseDuringEvents(&target);
    DoEvents();
    EXPECT_EQ(target.keys, 2);
    EXPECT_EQ(target.closes, 1);
    EXPECT_FALSE(target.isVisible());
}

TEST(System, SleepKeepsTimersRunning)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    QElapsedTimer clock;
    clock.start();
    SleepWithEvents(60);
    EXPECT_GE(clock.elapsed(), 55);
    EXPECT_GT(ticks, 2);

    SystemOverrides o;
    o.SkipSleeps();
    clock.restart();
    SleepWithEvents(1500);
    SleepWithEvents(250);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(o.Sleeps(), (QList<int>{1500, 250}));
}

TEST(System, ThereIsNoSystemBeepSetting)
{
    bool on = true;
    EXPECT_TRUE(GetSystemBeep(on));
    EXPECT_FALSE(on);
    EXPECT_TRUE(SetSystemBeep(false));
    EXPECT_TRUE(GetSystemBeep(on));
    EXPECT_FALSE(on);
}
