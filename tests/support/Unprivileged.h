#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

// Runs as a user without special rights while it lives, so that file permissions hold
// even when the tests run as root.
class Unprivileged {
  public:
    // Real and effective user both change, as permission checks read either; the saved
    // one stays root, so that root can come back.
    Unprivileged() : mWasRoot(geteuid() == 0)
    {
        if (mWasRoot) {
            EXPECT_EQ(setresuid(65534, 65534, 0), 0);
        }
    }
    ~Unprivileged()
    {
        if (mWasRoot) {
            EXPECT_EQ(setresuid(0, 0, 0), 0);
        }
    }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

  private:
    bool mWasRoot;
};
