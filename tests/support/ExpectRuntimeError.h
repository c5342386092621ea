#pragma once

#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

// Expects `statement` to raise the run-time error `expected` (checked by number).
#define EXPECT_RUNTIME_ERROR(statement, expected)                                                              \
    do {                                                                                                        \
        try {                                                                                                   \
            statement;                                                                                          \
            ADD_FAILURE() << "expected run-time error " << (expected) << " from " #statement;                  \
        } catch (const platform::RuntimeError &error_) {                                                        \
            EXPECT_EQ(error_.number(), (expected)) << error_.description().toStdString();                       \
        }                                                                                                       \
    } while (false)
