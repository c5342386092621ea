#pragma once

#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

// Expects `statement` to raise the run-time error `expected` (checked by number).
#define EXPECT_RUNTIME_ERROR(statement, expected)                                                            \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "expected run-time error " << (expected) << " from " #statement;                \
        } catch (const platform::RuntimeError &error_) {                                                     \
            EXPECT_EQ(error_.number(), (expected)) << error_.description().toStdString();                    \
        }                                                                                                    \
    } while (false)

// Expects `statement` to raise one of the run-time errors listed (a braced list of numbers),
// for a refusal that either the query translator or the engine may be first to make.
#define EXPECT_RUNTIME_ERROR_IN(statement, ...)                                                              \
    do {                                                                                                     \
        const std::initializer_list<int> allowed_ = __VA_ARGS__;                                             \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "expected a run-time error from " #statement;                                   \
        } catch (const platform::RuntimeError &error_) {                                                     \
            EXPECT_NE(std::find(allowed_.begin(), allowed_.end(), error_.number()), allowed_.end())          \
                << error_.number() << ": " << error_.description().toStdString();                            \
        }                                                                                                    \
    } while (false)
