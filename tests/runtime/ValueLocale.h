#pragma once

#include <QLocale>
#include <QString>
#include <gtest/gtest.h>

// Runs a test under a German or the C locale and restores C afterwards.
// Expected texts are written in the German form; Dec() and Dat() turn them
// into the current locale's form (decimal comma, date point).
class LocaleTest : public ::testing::TestWithParam<QLocale::Language> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam() == QLocale::German
                                ? QLocale(QLocale::German, QLocale::Germany)
                                : QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    static bool German() { return QLocale().language() == QLocale::German; }
    static QString Dec(const char* german) {
        QString text = QString::fromUtf8(german);
        return German() ? text : text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    static QString Dat(const char* german) {
        QString text = QString::fromUtf8(german);
        return German() ? text : text.replace(QLatin1Char('.'), QLatin1Char('/'));
    }
};

inline std::string LocaleName(const ::testing::TestParamInfo<QLocale::Language>& info) {
    return info.param == QLocale::German ? "de_DE" : "C";
}

#define VELD_BOTH_LOCALES(Suite)                                                                   \
    INSTANTIATE_TEST_SUITE_P(Locales, Suite, ::testing::Values(QLocale::German, QLocale::C),       \
                             LocaleName)
