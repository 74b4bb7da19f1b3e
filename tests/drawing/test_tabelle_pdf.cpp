// A page printed through the printer target: header, footer and a table on
// one A4 landscape sheet, read back from the PDF with poppler's tools.

#include "drawing/VERSIONSINFO.h"
#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "platform/controls/PrinterTarget.h"
#include "support/ScriptedDialogs.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariantList>
#include <gtest/gtest.h>

namespace {
QString Ausgabe(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

TEST(TabelleDruck, HeaderAndTableOnOneA4LandscapeSheet) {
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdfinfo = QStandardPaths::findExecutable("pdfinfo");
    if (pdftotext.isEmpty() || pdfinfo.isEmpty()) GTEST_SKIP() << "poppler-utils missing";

    ScriptedDialogs dialoge;
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    const QString datei = ordner.filePath("seite.pdf");

    PrinterTarget drucker;
    drucker.SetOutputFileName(datei);
    drucker.SetScaleMode(6);
    drucker.SetOrientation(2);

    clsKOPFFUSS kopf;
    kopf.setAUSGABEOBJEKT(&drucker, &drucker);
    kopf.setBEARBEITER("MEIER");
    kopf.setCOPYRIGHT(VERSIONSINFO::COPYRIGHT());
    kopf.setKENNZEICHNUNG("B-17");
    kopf.setDATUM(QDateTime(QDate(2024, 3, 12), QTime(0, 0), Qt::UTC));
    kopf.setKOMMENTAR("Probe aus Schurf 3");
    kopf.setPROGRAMMIERER(VERSIONSINFO::MARKEN());
    kopf.setPROJEKT("TE0815.01");
    kopf.setUEBERSCHRIFT(VERSIONSINFO::PRODUKTNAME());
    kopf.setUHRZEIT(QDateTime(QDate(1899, 12, 30), QTime(9, 30), Qt::UTC));
    kopf.KOPFFUSSZEILE();

    // The readings table as the page of one evaluation lays it out.
    clsTABELLE t;
    t.setEOBJEKT(&drucker);
    t.setEXDL(175);
    t.setEYDO(40);
    t.setERZ(1);
    t.setELSB(clsTABELLE::LISTE({11, 18, 18, 18, 18}));
    t.setELGIT(clsTABELLE::LISTE({2, 1, 1, 2}));
    t.setELGITLEER(clsTABELLE::LISTE({0, 0, 0, 0}));
    t.setEZA(1);
    t.setELA(clsTABELLE::LISTE({1, 3, 3, 3, 3}));
    t.setELFORMAT(clsTABELLE::LISTE({"", "##0.0", "0.00", "0.00", "0.00"}));
    t.setERO(23);
    t.setERU(20);
    t.LINIENEINSTELLUNGEN(0, 0, 0);
    t.SCHRIFTEINSTELLUNGEN(QString(), 8);
    TABELLENZELLEN k(5, 2), r(5, 3);
    const char* koepfe[] = {"Nr", "Zeit", "Wasser", "Saug", "Rate"};
    for (int c = 0; c < 5; ++c)
        k(c, 0) = QString::fromUtf8(koepfe[c]);
    for (int z = 0; z < 3; ++z) {
        r(0, z) = z + 1;
        r(1, z) = 1.5 * (z + 1);
        r(2, z) = 12.5 + z;
        r(3, z) = 0.25 * (z + 1);
        r(4, z) = 3.125;
    }
    t.TABELLE(k, 0);
    t.TABELLE(r, 1);
    drucker.EndDoc();
    EXPECT_TRUE(dialoge.boxes().isEmpty());

    const QString info = Ausgabe(pdfinfo, {datei});
    ASSERT_FALSE(info.isEmpty());
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    const QRegularExpressionMatch groesse =
        QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(info);
    ASSERT_TRUE(groesse.hasMatch()) << info.toStdString();
    EXPECT_NEAR(groesse.captured(1).toDouble(), 841.89, 1); // 297 mm across
    EXPECT_NEAR(groesse.captured(2).toDouble(), 595.28, 1); // 210 mm down

    const QString text = Ausgabe(pdftotext, {"-layout", datei, "-"});
    for (const char* teil :
         {"Varmikon", "Seite 1/1", "Projekt TE0815.01", "Datensatz B-17", "Probe aus Schurf 3",
          "Bearbeiter: MEIER", "09:30", "Wasser", "1.5", "12.50", "14.50", "0.75", "3.13"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(teil))) << teil << "\n" << text.toStdString();
}
