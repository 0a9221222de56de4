#include "analysis/analysis_record.h"
#include "project/project_state.h"
#include "support/test_seams.h"
#include "tests/analysis/support/method_results.h"
#include "ui/mnu_out.h"
#include "ui/mnu_sens.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

class OutputWindowTest : public QObject {
    Q_OBJECT

    static QString Text(const TOutMenu& out, const QString& name) {
        const auto* label = out.findChild<QLabel*>(name);
        if (!label)
            qFatal("no label %s", qPrintable(name));
        return label->text();
    }

    // Every value label but the probability of failure.
    static QStringList FixedLabels() {
        QStringList names;
        for (int n = 1; n <= 22; ++n)
            names << QStringLiteral("Label%1").arg(n);
        return names << "Label40"
                     << "Label44"
                     << "Label46";
    }

private slots:
    void init() { test::ResetProjectState(); }

    void startUp() {
        State.FailureProbability = 0;
        TOutMenu out;
        QCOMPARE(out.windowTitle(), QStringLiteral("Output"));
        QVERIFY(!out.isVisible());
        for (const QString& name : FixedLabels())
            QCOMPARE(Text(out, name), QStringLiteral("  0.0000"));
        QCOMPARE(Text(out, "Label42"), QStringLiteral(" 4.999E-0001"));
        QCOMPARE(Text(out, "Label43"), QStringLiteral("Calculation with reduced values (all)"));
        QVERIFY(qAbs(State.FailureProbability - 0.4998612) < 1e-12);
    }

    void layoutTexts() {
        TOutMenu out;
        QStringList texts;
        for (const QLabel* label : out.findChildren<QLabel*>())
            texts << label->text();
        for (const char* text : {"Safety Factors", "Normal Plaxis Calculation:",
                                 "Calculation with mean values", "(must be identical)", "φ", "c",
                                 "1.", "10.", "Beta:", "Probability of failure:", "Linearity:"})
            QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
        QCOMPARE(out.OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(out.CancelButton->text(), QStringLiteral("Cancel"));
    }

    void eachSafetyFactorHasItsLabel() {
        for (int key = -2; key <= 20; ++key)
            Entry(State.SafetyFactors, key) = key + 3 + 0.25;
        TOutMenu out;
        QCOMPARE(Text(out, "Label21"), QStringLiteral("  2.2500")); // key -1
        QCOMPARE(Text(out, "Label22"), QStringLiteral("  3.2500")); // key 0
        QCOMPARE(Text(out, "Label44"), QStringLiteral("  1.2500")); // key -2
        for (int key = 1; key <= 20; ++key)
            QCOMPARE(Text(out, QStringLiteral("Label%1").arg(key)),
                     QString::asprintf("%8.4f", key + 3.25));
    }

    void summaryLines() {
        State.Beta = 2;
        State.FailureProbability = 0.9;
        State.Linearity = 0.987654;
        Entry(State.SafetyFactors, 0) = 1234.5;
        Entry(State.SafetyFactors, 7) = -1.5;
        TOutMenu out;
        QCOMPARE(Text(out, "Label40"), QStringLiteral("  2.0000"));
        QCOMPARE(Text(out, "Label42"), QStringLiteral(" 2.275E-0002"));
        QVERIFY(qAbs(State.FailureProbability - 0.02275) < 1e-5);
        QCOMPARE(Text(out, "Label46"), QStringLiteral("  0.9877"));
        QCOMPARE(Text(out, "Label22"), QStringLiteral("1234.5000"));
        QCOMPARE(Text(out, "Label7"), QStringLiteral(" -1.5000"));
    }

    void refreshedOnlyWhenFilled() {
        TOutMenu out;
        State.Beta = 3;
        Entry(State.SafetyFactors, -1) = 1.4;
        QCOMPARE(Text(out, "Label40"), QStringLiteral("  0.0000"));
        QVERIFY(qAbs(State.FailureProbability - 0.4998612) < 1e-12);
        out.FormCreate();
        QCOMPARE(Text(out, "Label40"), QStringLiteral("  3.0000"));
        QCOMPARE(Text(out, "Label21"), QStringLiteral("  1.4000"));
        QVERIFY(qAbs(State.FailureProbability - 0.00135) < 1e-4);
    }

    void buttonsHide() {
        TOutMenu out;
        for (QPushButton* button : {out.OKButton, out.CancelButton}) {
            out.show();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!out.isVisible());
        }
    }

    // FORM's line, as long as it gets, wraps within the window's width and above its buttons;
    // the window keeps its size and every value label its place.
    void aLongMethodLineWrapsWithinTheWindow() {
        TOutMenu plain;
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        AnalysisRecord record;
        record.method = zelmora::testing::UnsettledFormResult();
        record.method->iterations = 100;
        TOutMenu out;
        out.Sensitivity->Record = &record;
        out.show();
        QVERIFY(QTest::qWaitForWindowExposed(&out));
        const QSize size = out.size();
        out.FormCreate();
        QCoreApplication::processEvents();
        QVERIFY(out.LabelMethodResult->isVisible());
        QVERIFY(out.LabelMethodResult->text().contains(QStringLiteral("not converged")));
        QCOMPARE(out.size(), size);
        QCOMPARE(out.size().width(), plain.size().width());
        const QRect line = out.LabelMethodResult->geometry();
        QVERIFY(out.rect().contains(line));
        QVERIFY(out.LabelMethodResult->fontMetrics().horizontalAdvance(
                    out.LabelMethodResult->text()) <= line.width() * 2);
        QVERIFY2(
            line.bottom() < out.OKButton->geometry().top(),
            qPrintable(
                QStringLiteral("%1 / %2").arg(line.bottom()).arg(out.OKButton->geometry().top())));
        for (const char* name : {"Label40", "Label42", "Label46"})
            QCOMPARE(out.findChild<QLabel*>(name)->geometry(),
                     plain.findChild<QLabel*>(name)->geometry());
    }

    void openedCentred() {
        TOutMenu out;
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((out.geometry().center() - centre).manhattanLength() < 4);
    }
};

QTEST_MAIN(OutputWindowTest)
#include "output_window_test.moc"
