#include "project/project_state.h"
#include "support/test_seams.h"
#include "ui/mnu_soil.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

// Column 0 is the set number, 1..4 the reals in the order of a row.
double FieldValue(const SoilSet& row, int column) {
    switch (column) {
    case 0:
        return row.SetNumber;
    case 1:
        return row.PhiMean;
    case 2:
        return row.PhiStdDev;
    case 3:
        return row.CohesionMean;
    default:
        return row.CohesionStdDev;
    }
}

bool SameTable(const ProjectState& a, const ProjectState& b) {
    for (int r = 1; r <= SoilRowCount; ++r)
        for (int column = 0; column < 5; ++column)
            if (FieldValue(Row(a, r), column) != FieldValue(Row(b, r), column))
                return false;
    return true;
}

} // namespace

class SoilWindowTest : public QObject {
    Q_OBJECT

    QLineEdit* Field(TSoilForm& form, const QString& name) {
        auto* field = form.findChild<QLineEdit*>(name);
        if (!field)
            qFatal("no field %s", qPrintable(name));
        return field;
    }

private slots:
    void init() { test::ResetProjectState(); }

    void startUpShowsZeros() {
        TSoilForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Soil data"));
        QVERIFY(!form.isVisible());
        for (int r = 1; r <= 10; ++r) {
            QCOMPARE(Field(form, QStringLiteral("Edit%1").arg(3 * r - 2))->text(), "0");
            for (int n : {3 * r - 1, 3 * r, 29 + 2 * r, 30 + 2 * r})
                QCOMPARE(Field(form, QStringLiteral("Edit%1").arg(n))->text(), "  0.0000");
        }
    }

    void layoutTexts() {
        TSoilForm form;
        QCOMPARE(form.findChild<QGroupBox*>()->title(), QStringLiteral("Soil Strength"));
        QStringList texts;
        for (const QLabel* label : form.findChildren<QLabel*>())
            texts << label->text();
        for (const char* expected : {"set", "φ [degrees]", "c [kN/m2]", "1.", "10."})
            QVERIFY2(texts.contains(QString::fromUtf8(expected)), expected);
        QCOMPARE(texts.count(QStringLiteral("μ")), 2);
        QCOMPARE(texts.count(QStringLiteral("σ")), 2);
        QCOMPARE(form.findChild<QPushButton*>("ButtonOK")->text(), QStringLiteral("OK"));
        QCOMPARE(form.findChild<QPushButton*>("ButtonCancel")->text(), QStringLiteral("Cancel"));
    }

    // The Tab key passes over widgets that take no focus, such as the labels between the fields.
    static QWidget* NextTabStop(QWidget* widget) {
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    }

    void focusFollowsTheNumbering() {
        TSoilForm form;
        QWidget* widget = Field(form, "Edit1");
        for (int n = 2; n <= 50; ++n) {
            widget = NextTabStop(widget);
            QCOMPARE(widget->objectName(), QStringLiteral("Edit%1").arg(n));
        }
        widget = NextTabStop(widget);
        QCOMPARE(widget->objectName(), QStringLiteral("ButtonOK"));
        QCOMPARE(NextTabStop(widget)->objectName(), QStringLiteral("ButtonCancel"));
    }

    void fillWritesEachFieldOfItsRow() {
        Row(State, 3) = {7, 30, 3, 1234.5, -2.5};
        Row(State, 10) = {-12, 0.12345, 0.00015, 9.99995, -0.0};
        TSoilForm form;
        const QList<std::pair<const char*, const char*>> expected = {
            {"Edit7", "7"},          {"Edit8", " 30.0000"},  {"Edit9", "  3.0000"},
            {"Edit35", "1234.5000"}, {"Edit36", " -2.5000"}, {"Edit28", "-12"},
            {"Edit29", "  0.1235"},  {"Edit30", "  0.0002"}, {"Edit49", " 10.0000"},
            {"Edit50", " -0.0000"}};
        for (const auto& [name, text] : expected)
            QCOMPARE(Field(form, name)->text(), QString::fromLatin1(text));
    }

    void okStoresAcceptedText_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::newRow("set plain") << "Edit1" << 1 << 0 << "7" << 7.0;
        QTest::newRow("set blanks around") << "Edit4" << 2 << 0 << " 12 " << 12.0;
        QTest::newRow("set hexadecimal") << "Edit7" << 3 << 0 << "$1F" << 31.0;
        QTest::newRow("set empty") << "Edit13" << 5 << 0 << "" << 0.0;
        QTest::newRow("phi mean") << "Edit2" << 1 << 1 << "30.5" << 30.5;
        QTest::newRow("phi mean trailing blank") << "Edit8" << 3 << 1 << "30.5 " << 30.5;
        QTest::newRow("phi mean tabs") << "Edit11" << 4 << 1 << "\t30.5\t" << 30.5;
        QTest::newRow("phi dev point only") << "Edit3" << 1 << 2 << "." << 0.0;
        QTest::newRow("phi dev exponent only") << "Edit6" << 2 << 2 << "E5" << 0.0;
        QTest::newRow("phi dev empty") << "Edit30" << 10 << 2 << "" << 0.0;
        QTest::newRow("coh mean exponent") << "Edit31" << 1 << 3 << "-.25E+1" << -2.5;
        QTest::newRow("coh dev last") << "Edit50" << 10 << 4 << "5." << 5.0;
    }

    void okStoresAcceptedText() {
        QFETCH(QString, field);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(double, stored);
        test::RecordingMessageBoxes boxes;
        Row(State, row) = {99, 99, 99, 99, 99};
        TSoilForm form;
        form.show();
        Field(form, field)->setText(text);
        form.ButtonOKClick();
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(!form.isVisible());
        QCOMPARE(FieldValue(Row(State, row), column), stored);
        for (int other = 0; other < 5; ++other)
            if (other != column)
                QCOMPARE(FieldValue(Row(State, row), other), 99.0);
    }

    void okStoresShownValuesRounded() {
        Row(State, 2) = {1, 30.12346, 2.00004, 1.5, 0.25};
        TSoilForm form;
        form.ButtonOKClick();
        QCOMPARE(Row(State, 2).PhiMean, 30.1235);
        QCOMPARE(Row(State, 2).PhiStdDev, 2.0);
        QCOMPARE(Row(State, 2).CohesionStdDev, 0.25);
    }

    void okRefusesText_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("comma") << "Edit8"
                               << "30,5"
                               << "Row 3, φ μ: \"30,5\" is not a number.";
        QTest::newRow("inner blank") << "Edit2"
                                     << "30 .5"
                                     << "Row 1, φ μ: \"30 .5\" is not a number.";
        QTest::newRow("letters") << "Edit3"
                                 << "abc"
                                 << "Row 1, φ σ: \"abc\" is not a number.";
        QTest::newRow("no exponent digit") << "Edit50"
                                           << "1e"
                                           << "Row 10, c σ: \"1e\" is not a number.";
        QTest::newRow("overflow") << "Edit31"
                                  << "1e400"
                                  << "Row 1, c μ: \"1e400\" is not a number.";
        QTest::newRow("overflow extended") << "Edit32"
                                           << "1e5000"
                                           << "Row 1, c σ: \"1e5000\" is not a number.";
        QTest::newRow("not ascii") << "Edit5"
                                   << "30°"
                                   << "Row 2, φ μ: \"30°\" is not a number.";
        QTest::newRow("set with point") << "Edit1"
                                        << "3.0"
                                        << "Row 1, set: \"3.0\" is not a number.";
        QTest::newRow("set beyond range") << "Edit28"
                                          << "2147483648"
                                          << "Row 10, set: \"2147483648\" is not a number.";
    }

    void okRefusesText() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        test::RecordingMessageBoxes boxes;
        TSoilForm form;
        form.show();
        for (int n = 1; n <= 50; ++n)
            Field(form, QStringLiteral("Edit%1").arg(n))->setText(QStringLiteral("1"));
        Field(form, field)->setText(text);
        const ProjectState before = State;
        form.ButtonOKClick();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].kind, MessageKind::Error);
        QCOMPARE(boxes.boxes[0].buttons, MessageButtons::Ok);
        QCOMPARE(boxes.boxes[0].text, message);
        QVERIFY(SameTable(State, before));
        QVERIFY(form.isVisible());
        QCOMPARE(Field(form, field)->text(), text);
    }

    void firstBadFieldInStoringOrderIsReported() {
        test::RecordingMessageBoxes boxes;
        TSoilForm form;
        Field(form, "Edit8")->setText("x");  // row 3, φ μ
        Field(form, "Edit31")->setText("y"); // row 1, c μ: stored before row 3
        form.ButtonOKClick();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, QStringLiteral("Row 1, c μ: \"y\" is not a number."));
    }

    void cancelStoresNothingAndRefillRestores() {
        Row(State, 1).PhiMean = 30;
        TSoilForm form;
        form.show();
        Field(form, "Edit2")->setText("45");
        form.ButtonCancelClick();
        QVERIFY(!form.isVisible());
        QCOMPARE(Row(State, 1).PhiMean, 30.0);
        QCOMPARE(Field(form, "Edit2")->text(), QStringLiteral("45"));
        form.FormCreate();
        QCOMPARE(Field(form, "Edit2")->text(), QStringLiteral(" 30.0000"));
    }

    void buttonsRunTheHandlers() {
        TSoilForm form;
        form.show();
        Field(form, "Edit2")->setText("20");
        QTest::mouseClick(form.findChild<QPushButton*>("ButtonOK"), Qt::LeftButton);
        QCOMPARE(Row(State, 1).PhiMean, 20.0);
        QVERIFY(!form.isVisible());
        form.show();
        QTest::mouseClick(form.findChild<QPushButton*>("ButtonCancel"), Qt::LeftButton);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(SoilWindowTest)
#include "soil_window_test.moc"
