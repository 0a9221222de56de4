#include "ui/scr_calc.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace zelmora::ui;

class CalcWindowTest : public QObject {
    Q_OBJECT

    static QString Log(const TCalc& calc) { return calc.Memo1->toPlainText(); }

    // Clears the log except for its first line, as an analysis does before it starts.
    static void KeepFirstLine(TCalc& calc) {
        while (calc.LineCount() > 1)
            calc.DeleteLine(1);
    }

private slots:
    void creation() {
        TCalc calc;
        QCOMPARE(calc.windowTitle(), QStringLiteral("Calculation"));
        QVERIFY(!calc.isVisible());
        QCOMPARE(calc.findChild<QPlainTextEdit*>("Memo1"), calc.Memo1);
        QCOMPARE(Log(calc), QStringLiteral("Zelmora\n"));
        QCOMPARE(calc.LineCount(), 2);
        QCOMPARE(calc.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(calc.findChild<QLabel*>("Label1")->text(),
                 QStringLiteral("probability of failure:"));
        QCOMPARE(calc.findChild<QLabel*>("LabelPF")->text(), QStringLiteral("pf"));
        QCOMPARE(calc.findChild<QPushButton*>("ExitButton")->text(), QStringLiteral("Exit"));
        QCOMPARE(calc.findChild<QPushButton*>("ButtonStop")->text(), QStringLiteral("Stop"));
        QVERIFY(!calc.ButtonStop->isEnabled());
    }

    void placedNearTheLowerLeft() {
        TCalc calc;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(calc.x() < area.left() + area.width() / 4);
        QVERIFY(calc.y() > area.top());
        QVERIFY(calc.y() + calc.height() > area.center().y());
        QVERIFY(calc.y() + calc.height() <= area.bottom());
    }

    // After an analysis the scroll bar's handle stands at the end, where the view is.
    void theScrollBarFollowsTheNewestLine() {
        TCalc calc;
        calc.Show();
        calc.AnalysisStarted();
        KeepFirstLine(calc);
        for (int k = 0; k < 80; ++k)
            calc.AppendLine("line " + std::to_string(k));
        calc.AnalysisEnded({});
        const QScrollBar* bar = calc.Memo1->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(!calc.ButtonStop->isEnabled());
    }

    void deletingLineOneLeavesTheTitle() {
        TCalc calc;
        calc.AppendLine("first");
        calc.AppendLine("second");
        KeepFirstLine(calc);
        QCOMPARE(Log(calc), QStringLiteral("Zelmora"));
        QCOMPARE(calc.LineCount(), 1);
        calc.AppendLine("again");
        QCOMPARE(Log(calc), QStringLiteral("Zelmora\nagain"));
        QCOMPARE(calc.LineCount(), 2);
    }

    void appendKeepsOrderAfterTheEmptyLine() {
        TCalc calc;
        for (const char* line : {"a", "", "  1.0000", "b"})
            calc.AppendLine(line);
        QCOMPARE(Log(calc), QStringLiteral("Zelmora\n\na\n\n  1.0000\nb"));
        QCOMPARE(calc.LineCount(), 6);
    }

    void deleteLineByPosition_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("left");
        QTest::newRow("first") << 0 << "\na\nb";
        QTest::newRow("empty line") << 1 << "Zelmora\na\nb";
        QTest::newRow("middle") << 2 << "Zelmora\n\nb";
        QTest::newRow("last") << 3 << "Zelmora\n\na";
        QTest::newRow("past the end") << 4 << "Zelmora\n\na\nb";
        QTest::newRow("negative") << -1 << "Zelmora\n\na\nb";
    }

    void deleteLineByPosition() {
        QFETCH(int, position);
        QFETCH(QString, left);
        TCalc calc;
        calc.AppendLine("a");
        calc.AppendLine("b");
        calc.DeleteLine(position);
        QCOMPARE(Log(calc), left);
    }

    void deletingEveryLineEmptiesTheLog() {
        TCalc calc;
        calc.DeleteLine(0);
        calc.DeleteLine(0);
        QCOMPARE(calc.LineCount(), 0);
        calc.AppendLine("x");
        QCOMPARE(Log(calc), QStringLiteral("x"));
        QCOMPARE(calc.LineCount(), 1);
    }

    void probabilityLabelAndEightBitText() {
        TCalc calc;
        calc.SetProbabilityLabel("  0.0228");
        QCOMPARE(calc.LabelPF->text(), QStringLiteral("  0.0228"));
        calc.AppendLine("/data/\xc3\xbc.plx");
        QCOMPARE(calc.Memo1->document()->lastBlock().text(), QStringLiteral("/data/ü.plx"));
    }

    void showAndExit() {
        TCalc calc;
        calc.Show();
        QVERIFY(calc.isVisible());
        QTest::mouseClick(calc.ExitButton, Qt::LeftButton);
        QVERIFY(!calc.isVisible());
        QCOMPARE(Log(calc), QStringLiteral("Zelmora\n"));
        calc.Show();
        QVERIFY(calc.isVisible());
    }
};

QTEST_MAIN(CalcWindowTest)
#include "calc_window_test.moc"
