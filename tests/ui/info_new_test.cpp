#include "project/project_state.h"
#include "support/test_seams.h"
#include "ui/mnu_info.h"
#include "ui/mnu_new.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

bool CentredOnScreen(const QWidget& window) {
    const QPoint offset =
        window.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    return offset.manhattanLength() <= 2;
}

} // namespace

class InfoNewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::ResetProjectState(); }

    void infoWindow() {
        const TInfo info;
        QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
        QVERIFY(info.isWindow());
        QCOMPARE(info.findChild<QPlainTextEdit*>("Memo1"), info.Memo1);
        QCOMPARE(info.findChild<QPushButton*>("OKButton"), info.OKButton);
        QCOMPARE(info.OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(info.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(info.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(info.Memo1->toPlainText().isEmpty());
        QVERIFY(!info.Memo1->isReadOnly());
        QVERIFY(CentredOnScreen(info));
    }

    void appendedLinesKeepTheirOrder_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("one line") << QStringList{"ZELMORA"};
        QTest::newRow("empty lines between") << QStringList{"a", "", "", "b"};
        QTest::newRow("empty first line") << QStringList{"", "second"};
        QTest::newRow("only an empty line") << QStringList{""};
        QTest::newRow("blanks kept") << QStringList{"   indented", "trailing   "};
    }

    void appendedLinesKeepTheirOrder() {
        QFETCH(QStringList, lines);
        TInfo info;
        for (const QString& line : lines)
            info.AppendLine(line);
        QCOMPARE(info.Memo1->blockCount(), lines.size());
        QCOMPARE(info.Memo1->toPlainText().split('\n'), lines);
    }

    // Typed text stays, and the next line starts on a line of its own.
    void appendAfterTypedText() {
        TInfo info;
        info.Memo1->setPlainText(QStringLiteral("typed"));
        info.AppendLine(QStringLiteral("appended"));
        QCOMPARE(info.Memo1->toPlainText(), QStringLiteral("typed\nappended"));
    }

    void okHidesAndKeepsTheText() {
        TInfo info;
        info.AppendLine(QStringLiteral("kept"));
        info.show();
        info.OKButton->click();
        QVERIFY(!info.isVisible());
        QCOMPARE(info.Memo1->toPlainText(), QStringLiteral("kept"));
        info.show();
        info.close();
        QVERIFY(!info.isVisible());
        QCOMPARE(info.Memo1->toPlainText(), QStringLiteral("kept"));
    }

    void newWindowShowsTheInstructions() {
        const TNewMenu window;
        QCOMPARE(window.windowTitle(), QStringLiteral("New"));
        QStringList texts;
        QList<const QLabel*> labels;
        for (int k = 1; k <= 5; ++k) {
            const auto* label = window.findChild<QLabel*>(QStringLiteral("Label%1").arg(k));
            QVERIFY(label);
            labels << label;
            texts << label->text();
        }
        QCOMPARE(
            texts,
            (QStringList{
                "Please, fill out new data under \"Input data\".",
                "Save this with the name \"projectname.zmo\"",
                "In which the projectname (before .zmo) must be the same as the Plaxis project.",
                "Store the file in the plaxis directory (.dta) of the project.",
                "Be sure that the information in \"Input data - General\" is correct."}));
        for (int k = 1; k < 5; ++k)
            QVERIFY(labels[k]->y() > labels[k - 1]->y());
        QVERIFY(labels[0]->font().pointSizeF() > window.ButtonOK->font().pointSizeF());
        QCOMPARE(window.ButtonOK->text(), QStringLiteral("OK"));
        QCOMPARE(window.ButtonCancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(window.findChild<QPushButton*>("ButtonOK"), window.ButtonOK);
        QCOMPARE(window.findChild<QPushButton*>("ButtonCancel"), window.ButtonCancel);
        QVERIFY(CentredOnScreen(window));
    }

    void newWindowButtonsOnlyHide_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void newWindowButtonsOnlyHide() {
        QFETCH(bool, ok);
        TNewMenu window;
        Row(State, 4) = {4, 22.0, 1.0, 3.0, 0.5};
        State.CurrentFileName = "/data/dyke.zmo";
        const ProjectState before = State;
        window.show();
        (ok ? window.ButtonOK : window.ButtonCancel)->click();
        QVERIFY(!window.isVisible());
        QVERIFY(test::SameProjectState(State, before));
    }
};

QTEST_MAIN(InfoNewTest)
#include "info_new_test.moc"
