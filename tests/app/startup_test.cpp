#include "app/mnu_main.h"
#include "app/startup.h"
#include "project/project_state.h"
#include "ui/mnu_gen.h"
#include "ui/mnu_info.h"
#include "ui/mnu_new.h"
#include "ui/mnu_out.h"
#include "ui/mnu_soil.h"
#include "ui/scr_calc.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace zelmora;
using namespace zelmora::ui;

using CloseAction = std::function<void(TMainForm&)>;
Q_DECLARE_METATYPE(CloseAction)

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // The process starts with a zero state; the start-up gives it its defaults.
    void init() { State = {}; }

    void onlyTheMainWindowIsShown() {
        const Program program;
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Zelmora"));
        QVERIFY(!QApplication::quitOnLastWindowClosed());
        QVERIFY(program.main->isVisible());
        QCOMPARE(program.main->windowTitle(),
                 QStringLiteral("ZELMORA    Risk Analysis for Plaxis"));
        const QList<QWidget*> others{program.calc.get(), program.out.get(),
                                     program.info.get(), program.newMenu.get(),
                                     program.soil.get(), program.general.get()};
        for (QWidget* window : others) {
            QVERIFY(window->isWindow());
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
        }
    }

    void outputWindowHoldsTheZeroResults() {
        const Program program;
        const TOutMenu& out = *program.out;
        for (int k = 1; k <= 20; ++k)
            QCOMPARE(out.Label[k]->text(), QStringLiteral("  0.0000"));
        for (const QLabel* value :
             {out.Label21, out.Label22, out.Label44, out.Label40, out.Label46})
            QCOMPARE(value->text(), QStringLiteral("  0.0000"));
        QCOMPARE(out.Label42->text(), QStringLiteral(" 4.999E-0001"));
        QCOMPARE(State.FailureProbability, 0.4998612);
        QCOMPARE(State.Beta, 0.0);
        QCOMPARE(State.Linearity, 0.0);
    }

    void soilWindowHoldsTheZeroTable() {
        const Program program;
        for (int r = 1; r <= SoilRowCount; ++r) {
            QCOMPARE(program.soil->Edit[3 * r - 2]->text(), QStringLiteral("0"));
            for (int field : {3 * r - 1, 3 * r, 29 + 2 * r, 30 + 2 * r})
                QCOMPARE(program.soil->Edit[field]->text(), QStringLiteral("  0.0000"));
        }
    }

    void generalWindowHoldsTheDefaults() {
        const Program program;
        const TGeneralForm& general = *program.general;
        QCOMPARE(general.Edit1->text(), QStringLiteral("c:\\program files\\Plaxis8x\\batch.exe"));
        QCOMPARE(general.Edit2->text(), QStringLiteral("c:\\progs\\zelmora\\plaxis\\test.plx"));
        QCOMPARE(general.Edit3->text(), QStringLiteral("test"));
        QCOMPARE(general.Edit4->text(), QStringLiteral("  1.0000"));
        QVERIFY(general.CheckBox->isChecked());
    }

    void otherWindowsStartEmpty() {
        const Program program;
        QVERIFY(program.info->Memo1->toPlainText().isEmpty());
        QCOMPARE(program.calc->Memo1->toPlainText(), QStringLiteral("Zelmora\n"));
        QCOMPARE(program.calc->LabelPF->text(), QStringLiteral("pf"));
    }

    void closingTheMainWindowEndsTheProgram_data() {
        QTest::addColumn<CloseAction>("closeIt");
        QTest::newRow("window closed") << CloseAction([](TMainForm& main) { main.close(); });
        QTest::newRow("Exit button")
            << CloseAction([](TMainForm& main) { main.ButtonExit->click(); });
        QTest::newRow("Exit menu item")
            << CloseAction([](TMainForm& main) { main.Exit2->trigger(); });
    }

    // Other visible windows do not keep the event loop alive.
    void closingTheMainWindowEndsTheProgram() {
        QFETCH(CloseAction, closeIt);
        const Program program;
        program.soil->show();
        program.info->show();
        bool timedOut = false;
        QTimer::singleShot(0, program.main.get(), [&] { closeIt(*program.main); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!timedOut);
        QVERIFY(!program.main->isVisible());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
