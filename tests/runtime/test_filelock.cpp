// The advisory lock on a file: shared by many holders, exclusive by one,
// gone with its holder, refused when it cannot be taken, and known to its
// holder as no longer the file at its path.

#include "platform/runtime/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <future>
#include <gtest/gtest.h>

TEST(FileLock, SharedByManyExclusiveByOneAndReleasedWithItsHolder) {
    QTemporaryDir verzeichnis;
    const QString datei = verzeichnis.filePath(QStringLiteral("sperre"));
    FileLock a, b;
    ASSERT_TRUE(a.Open(datei));
    ASSERT_TRUE(b.Open(datei));
    a.Shared();
    b.Shared();
    // Another holder keeps both from the exclusive lock; a refused try
    // leaves the shared lock held.
    EXPECT_FALSE(a.TryExclusive());
    EXPECT_FALSE(b.TryExclusive());
    {
        FileLock c;
        ASSERT_TRUE(c.Open(datei));
        EXPECT_FALSE(c.TryExclusive());
    }
    b.Release();
    EXPECT_FALSE(b.IsOpen());
    EXPECT_TRUE(a.TryExclusive());
    ASSERT_TRUE(b.Open(datei));
    // Back to shared: the others may share again, none may take it alone.
    a.Shared();
    b.Shared();
    EXPECT_FALSE(b.TryExclusive());
    // The holder gone, the lock is free.
    a.Release();
    EXPECT_TRUE(b.TryExclusive());

    EXPECT_TRUE(QFileInfo(datei).isFile());

    // A lock that cannot be had is refused, never granted, and says why.
    FileLock fehlt;
    EXPECT_FALSE(fehlt.Open(verzeichnis.filePath(QStringLiteral("fehlt/sperre"))));
    EXPECT_FALSE(fehlt.TryExclusive());
    EXPECT_FALSE(fehlt.Shared());
    EXPECT_TRUE(fehlt.Error().contains(QStringLiteral("fehlt/sperre")));
}

TEST(FileLock, ARefusedTryWithoutALockHeldLeavesNoneAndDoesNotWait) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("sperre"));
    FileLock a, b;
    ASSERT_TRUE(a.Open(datei));
    ASSERT_TRUE(b.Open(datei));
    a.Exclusive();
    // A try that waits would wait for ever: after a while the lock is given
    // up so that the waiting try returns and the test fails.
    auto versuch = std::async(std::launch::async, [&] { return b.TryExclusive(); });
    const bool wartete = versuch.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
    if (wartete) a.Unlock();
    const bool bekommen = versuch.get();
    ASSERT_FALSE(wartete) << "a refused try waited for the lock";
    EXPECT_FALSE(bekommen);
    a.Unlock();
    EXPECT_TRUE(a.IsOpen());
    EXPECT_TRUE(b.TryExclusive());
    EXPECT_FALSE(a.TryExclusive());
}

TEST(FileLock, AHolderLearnsThatItsFileWasDeletedOrReplacedByAFolder) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("sperre"));
    FileLock a, b;
    ASSERT_TRUE(a.Open(datei) && a.Exclusive());
    EXPECT_EQ(a.StillAtPath(), FileLock::Identity::Same);
    // Deleted, its lock is no one's: a new file of the name is free.
    ASSERT_TRUE(QFile::remove(datei));
    EXPECT_EQ(a.StillAtPath(), FileLock::Identity::Replaced);
    ASSERT_TRUE(b.Open(datei) && b.TryShared());
    // A folder in its place holds no lock: refused, and why.
    ASSERT_TRUE(QFile::remove(datei) && QDir().mkdir(datei));
    EXPECT_EQ(a.StillAtPath(), FileLock::Identity::Replaced);
    EXPECT_FALSE(b.Open(datei));
    EXPECT_EQ(b.Failed(), FileLock::Failure::Open);
    EXPECT_EQ(b.ErrorNumber(), EISDIR);
}

// A lock on one byte: a refused change to alone keeps the shared lock, so
// that no third holder ever finds the byte free, and closing another
// descriptor of the file (as the engine does) leaves it held.
TEST(FileLock, AByteLockKeepsItsShareThroughARefusedChangeAndOtherDescriptorsClosing) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("kopie"));
    FileLock fehlt(5);
    EXPECT_FALSE(fehlt.OpenPresent(datei));
    EXPECT_FALSE(QFileInfo::exists(datei));
    QFile(datei).open(QIODevice::WriteOnly);
    FileLock a(5), b(5), c(5);
    ASSERT_TRUE(a.OpenPresent(datei) && a.Shared() && b.OpenPresent(datei) && b.Shared());
    EXPECT_FALSE(a.TryExclusive());
    ASSERT_TRUE(c.OpenPresent(datei));
    EXPECT_FALSE(c.TryExclusive());
    QFile(datei).open(QIODevice::ReadOnly);
    b.Release();
    EXPECT_FALSE(c.TryExclusive());
    a.Release();
    EXPECT_TRUE(c.TryExclusive());
}
