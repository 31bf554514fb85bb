// Qt Test's QTRY_ macros report to Qt Test's own runner: under GoogleTest a
// condition that never comes true only returns from the test, which then
// passes. This header, put before every GUI test source by the build, makes
// them GoogleTest assertions that wait as Qt Test's do and fail the test.
#pragma once

#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

#undef QTRY_VERIFY_WITH_TIMEOUT
#undef QTRY_VERIFY
#undef QTRY_COMPARE_WITH_TIMEOUT
#undef QTRY_COMPARE

#define QTRY_VERIFY_WITH_TIMEOUT(expr, timeoutMs)                                             \
    ASSERT_TRUE(QTest::qWaitFor([&]() { return static_cast<bool>(expr); }, (timeoutMs)))     \
        << "not true within " << (timeoutMs) << " ms: " #expr

#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, 5000)

#define QTRY_COMPARE_WITH_TIMEOUT(actual, expected, timeoutMs)                                \
    do {                                                                                      \
        if (!QTest::qWaitFor([&]() { return (actual) == (expected); }, (timeoutMs))) {        \
            ASSERT_EQ(actual, expected) << "not equal within " << (timeoutMs) << " ms";       \
        }                                                                                     \
    } while (false)

#define QTRY_COMPARE(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, 5000)
