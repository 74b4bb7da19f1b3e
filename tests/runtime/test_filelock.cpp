// The advisory lock on a folder: shared by many holders, exclusive by one,
// gone with its holder.

#include "platform/runtime/FileLock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileLock, SharedByManyExclusiveByOneAndReleasedWithItsHolder) {
    QTemporaryDir ordner;
    FileLock a, b;
    ASSERT_TRUE(a.Open(ordner.path()));
    ASSERT_TRUE(b.Open(ordner.path()));
    a.Shared();
    b.Shared();
    // Another holder keeps both from the exclusive lock; a refused try
    // leaves the shared lock held.
    EXPECT_FALSE(a.TryExclusive());
    EXPECT_FALSE(b.TryExclusive());
    {
        FileLock c;
        ASSERT_TRUE(c.Open(ordner.path()));
        EXPECT_FALSE(c.TryExclusive());
    }
    b.Release();
    EXPECT_FALSE(b.IsOpen());
    EXPECT_TRUE(a.TryExclusive());
    ASSERT_TRUE(b.Open(ordner.path()));
    // Back to shared: the others may share again, none may take it alone.
    a.Shared();
    b.Shared();
    EXPECT_FALSE(b.TryExclusive());
    // The holder gone, the lock is free.
    a.Release();
    EXPECT_TRUE(b.TryExclusive());

    // Nothing to lock: no lock to wait for.
    FileLock fehlt;
    EXPECT_FALSE(fehlt.Open(ordner.path() + QStringLiteral("/fehlt")));
    EXPECT_TRUE(fehlt.TryExclusive());
}

TEST(FileLock, ARefusedTryWithoutALockHeldLeavesNoneAndDoesNotWait) {
    QTemporaryDir ordner;
    FileLock a, b;
    ASSERT_TRUE(a.Open(ordner.path()));
    ASSERT_TRUE(b.Open(ordner.path()));
    a.Exclusive();
    EXPECT_FALSE(b.TryExclusive());
    a.Unlock();
    EXPECT_TRUE(a.IsOpen());
    EXPECT_TRUE(b.TryExclusive());
    EXPECT_FALSE(a.TryExclusive());
}
