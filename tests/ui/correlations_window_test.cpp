#include "project/project_state.h"
#include "study/study.h"
#include "support/test_seams.h"
#include "ui/mnu_corr.h"
#include "ui/mnu_soil.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

// Rows 1 and 2 with φ and c random, row 3 with c only: strengths φ1, φ2, c1, c2, c3.
void SetThreeRows() {
    State = ProjectState{};
    Row(State, 1) = {1, 30, 5, 10, 4};
    Row(State, 2) = {2, 24, 4, 16, 6};
    Row(State, 3) = {3, 20, 0, 12, 4};
    ProjectStudy.settings = StudySettings{};
}

QTableWidgetItem& Rho(TCorrelations& window, int row, int column) {
    return *window.TableRho->item(row, column);
}

} // namespace

class CorrelationsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetThreeRows(); }

    // Tab from Cancel wraps to Edit1; the button is reached by a click or Alt+C only.
    void theButtonStaysOutsideTheTabChain() {
        TSoilForm form;
        QWidget* widget = form.ButtonCancel;
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        QCOMPARE(widget->objectName(), QStringLiteral("Edit1"));
        QCOMPARE(form.ButtonCorrelations->text(), QStringLiteral("&Correlations..."));
        QCOMPARE(form.ButtonCorrelations->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
        QVERIFY(!form.CorrelationsWindow->isVisible());
        QTest::mouseClick(form.ButtonCorrelations, Qt::LeftButton);
        QVERIFY(form.CorrelationsWindow->isVisible());
    }

    void theShortcutSetsPhiAndCohesionOfEveryRowWithBothRandom() {
        TCorrelations window;
        QCOMPARE(window.TableRho->rowCount(), 5);
        QCOMPARE(window.TableNames->rowCount(), 3);
        window.EditPhiC->setText(QStringLiteral("-0.4"));
        window.ButtonPhiCClick();
        window.TableNames->item(0, 0)->setText(QStringLiteral(" clayey sand "));
        window.ButtonOKClick();
        QCOMPARE(ProjectStudy.settings.correlations.size(), std::size_t(2));
        QCOMPARE(ProjectStudy.settings.correlations[0].a, 1);
        QCOMPARE(ProjectStudy.settings.correlations[0].b, 11);
        QCOMPARE(ProjectStudy.settings.correlations[0].rho, -0.4);
        QCOMPARE(ProjectStudy.settings.correlations[1].a, 2);
        QCOMPARE(ProjectStudy.settings.correlations[1].b, 12);
        QCOMPARE(ProjectStudy.settings.setNames.at(1), std::string("clayey sand"));
        // Shown again as stored.
        TCorrelations again;
        QCOMPARE(Rho(again, 2, 0).text(), QStringLiteral("-0.4000"));
        QCOMPARE(Rho(again, 4, 2).text(), QStringLiteral("0.0000"));
        QCOMPARE(again.TableRho->verticalHeaderItem(0)->text(),
                 QString::fromUtf8("φ 1 (clayey sand)"));
        QCOMPARE(again.TableRho->verticalHeaderItem(1)->text(), QString::fromUtf8("φ 2"));
        // A name shown with "?" for its controls keeps them when it is not edited.
        const std::string controlled = "sand\xe2\x80\xae\x07";
        ProjectStudy.settings.setNames = {{1, controlled}, {2, "silt"}};
        TCorrelations shown;
        QCOMPARE(shown.TableNames->item(0, 0)->text(), QStringLiteral("sand??"));
        shown.TableNames->item(1, 0)->setText(QStringLiteral("clay"));
        shown.ButtonOKClick();
        QCOMPARE(ProjectStudy.settings.setNames.at(1), controlled);
        QCOMPARE(ProjectStudy.settings.setNames.at(2), std::string("clay"));
    }

    void cancelAndRefusedValuesStoreNothing() {
        test::RecordingMessageBoxes boxes;
        TCorrelations window;
        window.show();
        Rho(window, 1, 0).setText(QStringLiteral("0.3"));
        window.ButtonCancelClick();
        QVERIFY(ProjectStudy.settings.correlations.empty());

        const QList<std::pair<QList<std::pair<int, int>>, QString>> refused{
            {{{1, 0}}, QStringLiteral("x")},
            {{{1, 0}}, QStringLiteral("1")},
            {{{1, 0}, {2, 0}, {2, 1}}, QStringLiteral("0.9")}};
        for (const auto& [cells, text] : refused) {
            window.FormCreate();
            window.show();
            for (const auto& [row, column] : cells)
                Rho(window, row, column).setText(text);
            if (cells.size() == 3)
                Rho(window, 2, 1).setText(QStringLiteral("-0.9"));
            window.ButtonOKClick();
            QVERIFY(window.isVisible());
            QVERIFY(ProjectStudy.settings.correlations.empty());
        }
        QCOMPARE(boxes.boxes.size(), 3);
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("ρ of φ 2 and φ 1: \"x\" is not a number."));
        QVERIFY(boxes.boxes[1].text.contains(QStringLiteral("strictly between -1 and 1")));
        QCOMPARE(boxes.boxes[2].text,
                 QStringLiteral("The correlations do not form a valid correlation matrix."));
    }
};

QTEST_MAIN(CorrelationsWindowTest)
#include "correlations_window_test.moc"
