#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

// Runs as a user without special rights while it lives (unless told to keep them), so that file
// permissions hold for root too: real and effective user change, the saved one stays root.
class Unprivileged {
  public:
    explicit Unprivileged(bool drop = true) : mWasRoot(drop && geteuid() == 0)
    {
        EXPECT_TRUE(!mWasRoot || setresuid(65534, 65534, 0) == 0);
    }
    ~Unprivileged() { EXPECT_TRUE(!mWasRoot || setresuid(0, 0, 0) == 0); }

  private:
    bool mWasRoot;
};
