#include "analysis/methods/approximate_tail_probability.h"
#include "app/help_text.h"
#include "app/jpeg_picture.h"
#include "app/mnu_main.h"
#include "app/startup.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "support/test_seams.h"
#include "ui/mnu_gen.h"
#include "ui/mnu_info.h"
#include "ui/mnu_new.h"
#include "ui/mnu_out.h"
#include "ui/mnu_soil.h"
#include "ui/scr_calc.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace zelmora;
using namespace zelmora::ui;

namespace {

QString Text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string Bytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

// A state in which every saved field differs from the defaults.
ProjectState SampleProject() {
    ProjectState project = State;
    Row(project, 2) = {7, 31.5, 2.25, 12.0, 1.5};
    Row(project, 9) = {-3, 18.0, 0.0, 4.75, 0.5};
    project.BatchPath = "/opt/calc/slopecalc";
    project.ProjectPath = "/srv/models/dyke.plx";
    project.ProjectName = "dyke";
    project.StepSize = 0.5;
    project.Beta = 2.5;
    project.FailureProbability = 0.006208;
    project.Linearity = 0.98;
    Entry(project.SafetyFactors, -2) = 1.21;
    Entry(project.SafetyFactors, -1) = 1.43;
    Entry(project.SafetyFactors, 0) = 1.43;
    Entry(project.SafetyFactors, 2) = 1.38;
    Entry(project.SafetyFactors, 12) = 1.31;
    return project;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// One call of the main window's launcher.
struct Launch {
    std::string commandLine;
    std::uint16_t showMode;
};

} // namespace

Q_DECLARE_METATYPE(MessageAnswer)

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    std::unique_ptr<test::RecordingMessageBoxes> boxes;
    std::unique_ptr<test::ScriptedFileDialogs> dialogs;
    QTemporaryDir folder;

    TMainForm& Main() { return *program->main; }
    QString PathOf(const QString& name) const { return folder.filePath(name); }

    void CompareLastBox(MessageKind kind, const QString& text, MessageButtons buttons) {
        QVERIFY(!boxes->boxes.isEmpty());
        const test::RecordedBox& box = boxes->boxes.constLast();
        QCOMPARE(box.kind, kind);
        QCOMPARE(box.text, text);
        QVERIFY(box.buttons == buttons);
    }

private slots:
    void init() {
        State = {};
        program = std::make_unique<Program>();
        boxes = std::make_unique<test::RecordingMessageBoxes>();
        dialogs = std::make_unique<test::ScriptedFileDialogs>();
    }

    void cleanup() {
        dialogs.reset();
        boxes.reset();
        program.reset();
    }

    void controls() {
        QCOMPARE(Main().HelpButton->text(), QStringLiteral("Help"));
        QCOMPARE(Main().Buttoncalc->text(), QStringLiteral("Calculate"));
        QCOMPARE(Main().ButtonExit->text(), QStringLiteral("Exit"));
        QVERIFY(Main().HelpButton->x() < Main().Buttoncalc->x());
        QVERIFY(Main().Buttoncalc->x() < Main().ButtonExit->x());
        QVERIFY(Main().Image1->y() > Main().HelpButton->y());
        QCOMPARE(Main().Image1->pixmap().size(), QSize(87, 38));
        QVERIFY(!Main().Label1->text().isEmpty());
        QVERIFY(!Main().Label2->text().isEmpty());
        QVERIFY(Main().Label1->font().pointSizeF() < Main().Label2->font().pointSizeF());
        for (const char* name :
             {"HelpButton", "Buttoncalc", "ButtonExit", "Image1", "Label1", "Label2", "MainMenu1"})
            QVERIFY2(Main().findChild<QWidget*>(QString::fromLatin1(name)), name);
    }

    void topLevelMenu() {
        QStringList captions;
        for (const QAction* action : Main().menuBar()->actions())
            captions << action->text();
        QCOMPARE(captions, (QStringList{"&Zelmora", "&File", "&Input data", "&Calculate", "&Output",
                                        "&Notepad"}));
        QCOMPARE(Main().findChild<QMenu*>("Zelmora1"), Main().Zelmora1);
        QCOMPARE(Main().findChild<QMenu*>("File1"), Main().File1);
        QCOMPARE(Main().findChild<QMenu*>("Simulation1"), Main().Simulation1);
        for (QAction* direct : {Main().Calc, Main().Parameters1, Main().Notepad1})
            QVERIFY(!direct->menu());
    }

    void menuItems_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("position");
        QTest::newRow("Info") << "Zelmora1"
                              << "Help1"
                              << "&Info" << 0;
        QTest::newRow("Exit") << "Zelmora1"
                              << "Exit2"
                              << "E&xit" << 1;
        QTest::newRow("New") << "File1"
                             << "New2"
                             << "&New" << 0;
        QTest::newRow("Open") << "File1"
                              << "Open2"
                              << "&Open" << 1;
        QTest::newRow("Save") << "File1"
                              << "Save2"
                              << "&Save" << 2;
        QTest::newRow("Save as") << "File1"
                                 << "Saveas2"
                                 << "Save &as" << 3;
        QTest::newRow("Soil") << "Simulation1"
                              << "Soil1"
                              << "&Soil" << 0;
        QTest::newRow("Anchor") << "Simulation1"
                                << "Anchor1"
                                << "&Anchor" << 1;
        QTest::newRow("Geotextile") << "Simulation1"
                                    << "Geotextile1"
                                    << "&Geotextile" << 2;
        QTest::newRow("Beam") << "Simulation1"
                              << "Beam1"
                              << "&Beam" << 3;
        QTest::newRow("General") << "Simulation1"
                                 << "GeneralMenu"
                                 << "&General" << 4;
        QTest::newRow("Calculate") << ""
                                   << "Calc"
                                   << "&Calculate" << 3;
        QTest::newRow("Output") << ""
                                << "Parameters1"
                                << "&Output" << 4;
        QTest::newRow("Notepad") << ""
                                 << "Notepad1"
                                 << "&Notepad" << 5;
    }

    void menuItems() {
        QFETCH(QString, menu);
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(int, position);
        const auto* action = Main().findChild<QAction*>(item);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QVERIFY(action->shortcut().isEmpty());
        const QList<QAction*> siblings = menu.isEmpty() ? Main().menuBar()->actions()
                                                        : Main().findChild<QMenu*>(menu)->actions();
        QCOMPARE(siblings.indexOf(action), position);
    }

    void helpAppendsTheTextEachTime_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Help button") << false;
        QTest::newRow("Info menu item") << true;
    }

    void helpAppendsTheTextEachTime() {
        QFETCH(bool, fromMenu);
        for (int request = 0; request < 2; ++request)
            fromMenu ? Main().Help1->trigger() : Main().HelpButton->click();
        QStringList expected;
        for (int copy = 0; copy < 2; ++copy)
            for (const char* line : HelpText)
                expected << QString::fromLatin1(line);
        QCOMPARE(program->info->Memo1->blockCount(), 40);
        QCOMPARE(program->info->Memo1->toPlainText().split('\n'), expected);
        QVERIFY(program->info->isVisible());
    }

    void structuralElementsOnlyShowABox_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("text");
        QTest::newRow("Anchor")
            << "Anchor1"
            << "Avoid anchor failure, therefore no anchor distribution installed.";
        QTest::newRow("Geotextile")
            << "Geotextile1"
            << "Avoid geotextile failure, therefore no geotextile distribution installed.";
        QTest::newRow("Beam") << "Beam1"
                              << "Avoid beam failure, therefore no beam distribution installed.";
    }

    void structuralElementsOnlyShowABox() {
        QFETCH(QString, item);
        QFETCH(QString, text);
        State = SampleProject();
        const ProjectState before = State;
        Main().findChild<QAction*>(item)->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        CompareLastBox(MessageKind::Plain, text, MessageButtons::Ok);
        QVERIFY(test::SameProjectState(State, before));
    }

    void newShowsTheWindowAndChangesNothing() {
        State = SampleProject();
        State.CurrentFileName = "/data/old.zmo";
        const ProjectState before = State;
        Main().New2->trigger();
        QVERIFY(program->newMenu->isVisible());
        QVERIFY(boxes->boxes.isEmpty());
        QVERIFY(test::SameProjectState(State, before));
    }

    void openReadsTheChosenFile() {
        const QString path = PathOf("project.zmo");
        const ProjectState saved = SampleProject();
        State = saved;
        WriteProjectFile(Bytes(path));
        test::ResetProjectState();
        dialogs->Confirm(path);
        Main().Open2->trigger();
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(Text(State.CurrentFileName), path);
        QCOMPARE(Row(State, 2).SetNumber, 7);
        QCOMPARE(Row(State, 9).CohesionMean, 4.75);
        QCOMPARE(Text(State.ProjectPath), QStringLiteral("/srv/models/dyke.plx"));
        QCOMPARE(State.Beta, 2.5);
        QCOMPARE(Entry(State.SafetyFactors, 12), 1.31);
        QCOMPARE(dialogs->dialogs.size(), 1);
        QVERIFY(dialogs->dialogs[0].mode == FileDialog::Mode::Open);
        QCOMPARE(dialogs->dialogs[0].filters, (QStringList{"Zelmora files (*.zmo)", "all (*)"}));
    }

    // A visible input window keeps what it showed until it is opened again.
    void openDoesNotRefreshVisibleWindows() {
        const QString path = PathOf("project.zmo");
        State = SampleProject();
        WriteProjectFile(Bytes(path));
        test::ResetProjectState();
        Main().Soil1->trigger();
        dialogs->Confirm(path);
        Main().Open2->trigger();
        QCOMPARE(program->soil->Edit[4]->text(), QStringLiteral("0"));
        Main().Soil1->trigger();
        QCOMPARE(program->soil->Edit[4]->text(), QStringLiteral("7"));
    }

    void dialogsRememberTheLastName() {
        const QString first = PathOf("first.zmo");
        dialogs->Confirm(first);
        Main().Saveas2->trigger();
        dialogs->Cancel();
        Main().Saveas2->trigger();
        dialogs->Cancel();
        Main().Open2->trigger();
        QCOMPARE(dialogs->dialogs.size(), 3);
        QCOMPARE(dialogs->dialogs[0].presetFileName, QString());
        QCOMPARE(dialogs->dialogs[1].presetFileName, first);
        QCOMPARE(dialogs->dialogs[2].presetFileName, QString());
        QVERIFY(dialogs->dialogs[1].mode == FileDialog::Mode::Save);
    }

    void cancelledDialogSelectsNoFile_data() {
        QTest::addColumn<QString>("item");
        QTest::newRow("Open") << "Open2";
        QTest::newRow("Save as") << "Saveas2";
    }

    void cancelledDialogSelectsNoFile() {
        QFETCH(QString, item);
        State = SampleProject();
        State.CurrentFileName = Bytes(PathOf("kept.zmo"));
        ProjectState expected = State;
        expected.CurrentFileName.clear();
        dialogs->Cancel();
        Main().findChild<QAction*>(item)->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        CompareLastBox(MessageKind::Error, "No file selected !", MessageButtons::Ok);
        QVERIFY(test::SameProjectState(State, expected));
        QVERIFY(!QFile::exists(PathOf("kept.zmo")));
    }

    // After a cancelled Save as, Save asks about an empty name and the write fails.
    void saveWithoutAName() {
        dialogs->Cancel();
        Main().Saveas2->trigger();
        boxes->AnswerNext(MessageAnswer::Yes);
        Main().Save2->trigger();
        QCOMPARE(boxes->boxes.size(), 3);
        QCOMPARE(boxes->boxes[1].kind, MessageKind::Information);
        QCOMPARE(boxes->boxes[1].text, QStringLiteral("save "));
        QVERIFY(boxes->boxes[1].buttons == MessageButtons::YesNo);
        CompareLastBox(MessageKind::Failure, "I/O error 105.", MessageButtons::Ok);
    }

    void openOfABadFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("detail"); // after the file's path
        QTest::newRow("missing") << QByteArray() << false << "File not found." << QString();
        QTest::newRow("not a number") << QByteArray("ZELMORA\r\nSafety Factor:\r\n1,5\r\n") << true
                                      << "Invalid numeric input."
                                      << ", line 3: \"1,5\" is not a number";
        QTest::newRow("bad soil line")
            << QByteArray("ZELMORA\r\nSafety Factor:\r\n  1.500000\r\nx\r\n  0.1  0.9\r\n\r\n"
                          "*\r\nset\r\n1 abc 3 4 5\r\n")
            << true << "Invalid numeric input."
            << ", line 9 (soil row 1): \"abc\" is not a number";
    }

    void openOfABadFileChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, message);
        QFETCH(QString, detail);
        const QString path = PathOf(QStringLiteral("bad-%1.zmo").arg(QTest::currentDataTag()));
        if (exists)
            WriteBytes(path, content);
        State = SampleProject();
        State.CurrentFileName = Bytes(PathOf("previous.zmo"));
        const ProjectState before = State;
        dialogs->Confirm(path);
        Main().Open2->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        CompareLastBox(MessageKind::Failure, message, MessageButtons::Ok);
        // The box names the file as chosen, and the line of a number that does not parse.
        QCOMPARE(boxes->boxes.constFirst().detail, path + detail);
        QVERIFY(test::SameProjectState(State, before));
    }

    // No extension is added, and an existing file is replaced without a question.
    void saveAsWritesTheChosenName() {
        const QString path = PathOf("noextension");
        WriteBytes(path, "old content");
        State = SampleProject();
        dialogs->Confirm(path);
        Main().Saveas2->trigger();
        QVERIFY(boxes->boxes.isEmpty());
        QCOMPARE(Text(State.CurrentFileName), path);
        QVERIFY(!QFile::exists(path + ".zmo"));
        QVERIFY(FileBytes(path).startsWith("ZELMORA\r\n"));
        const ProjectState written = State;
        test::ResetProjectState();
        ReadProjectFile(Bytes(path));
        QCOMPARE(Row(State, 2).PhiMean, Row(written, 2).PhiMean);
        QCOMPARE(Text(State.ProjectName), QStringLiteral("dyke"));
    }

    // Into another folder, relative paths keep their text and the progress line says once that
    // they now mean the new folder; absolute ones say nothing.
    void saveAsIntoAnotherFolderNotesRelativePaths() {
        QVERIFY(QDir(folder.path()).mkdir("moved"));
        for (const bool relative : {true, false}) {
            State = SampleProject();
            State.ProjectPath = relative ? "dyke.plx" : "/srv/models/dyke.plx";
            State.CurrentFileName = Bytes(PathOf("old.zmo"));
            program->calc->ClearNotes();
            dialogs->Confirm(PathOf("moved/new.zmo"));
            Main().Saveas2->trigger();
            QVERIFY(boxes->boxes.isEmpty());
            QCOMPARE(program->calc->LabelProgress->text(),
                     relative ? "The project's relative paths now refer to its new folder: " +
                                    PathOf("moved")
                              : QString());
            QCOMPARE(Text(State.ProjectPath), relative ? QStringLiteral("dyke.plx")
                                                       : QStringLiteral("/srv/models/dyke.plx"));
        }
    }

    void saveAsksFirst_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("written");
        QTest::newRow("Yes") << MessageAnswer::Yes << true;
        QTest::newRow("No") << MessageAnswer::No << false;
    }

    void saveAsksFirst() {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, written);
        const QString path = PathOf(QStringLiteral("asked-%1.zmo").arg(QTest::currentDataTag()));
        State = SampleProject();
        State.CurrentFileName = Bytes(path);
        const ProjectState before = State;
        boxes->AnswerNext(answer);
        Main().Save2->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        CompareLastBox(MessageKind::Information, "save " + path, MessageButtons::YesNo);
        QCOMPARE(QFile::exists(path), written);
        QVERIFY(test::SameProjectState(State, before));
        QVERIFY(dialogs->dialogs.isEmpty());
    }

    // Soil and General fill their windows from the state before showing them.
    void inputWindowsAreFilledWhenOpened() {
        State.BatchPath = "/opt/calc/slopecalc";
        State.StepSize = 0.25;
        Row(State, 1).PhiMean = 30;
        Main().Soil1->trigger();
        Main().GeneralMenu->trigger();
        QVERIFY(program->soil->isVisible());
        QVERIFY(program->general->isVisible());
        QCOMPARE(program->soil->Edit[2]->text(), QStringLiteral(" 30.0000"));
        QCOMPARE(program->general->Edit1->text(), QStringLiteral("/opt/calc/slopecalc"));
        QCOMPARE(program->general->Edit4->text(), QStringLiteral("  0.2500"));
    }

    void outputShowsTheStoredResults() {
        State.Beta = 1.0;
        Entry(State.SafetyFactors, 0) = 1.5;
        State.FailureProbability = 0.5;
        Main().Parameters1->trigger();
        QVERIFY(program->out->isVisible());
        QCOMPARE(program->out->Label22->text(), QStringLiteral("  1.5000"));
        QCOMPARE(program->out->Label40->text(), QStringLiteral("  1.0000"));
        QCOMPARE(State.FailureProbability, TailProbability(1.0));
        QCOMPARE(program->out->Label42->text(),
                 QString::fromStdString(FormatScientific(TailProbability(1.0), 12)));
    }

    void notepadTriesBothEditorsInOrder() {
        std::vector<Launch> launches;
        Main().Launch = [&](const std::string& commandLine, std::uint16_t showMode,
                            const IdleCallback&) {
            launches.push_back({commandLine, showMode});
            return -1;
        };
        Main().Notepad1->trigger();
        QCOMPARE(launches.size(), std::size_t{2});
        QCOMPARE(launches[0].commandLine, std::string("/usr/bin/gnome-text-editor --standalone"));
        QCOMPARE(launches[1].commandLine, std::string("/usr/bin/gedit --standalone"));
        QCOMPARE(launches[0].showMode, std::uint16_t{1});
        QCOMPARE(launches[1].showMode, std::uint16_t{1});
        QVERIFY(boxes->boxes.isEmpty());
    }

    // Neither editor exists here: the real launcher fails quietly twice.
    void notepadWithoutEditorsReportsNothing() {
        for (const char* editor : {"/usr/bin/gnome-text-editor", "/usr/bin/gedit"})
            if (QFile::exists(QString::fromLatin1(editor)))
                QSKIP("a text editor is installed here");
        Main().Notepad1->trigger();
        QVERIFY(boxes->boxes.isEmpty());
    }

    void anErrorEndsTheCommandInTheErrorBox() {
        Main().Launch = [](const std::string&, std::uint16_t, const IdleCallback&) -> int {
            throw Error("Editor exploded");
        };
        Main().Notepad1->trigger();
        QCOMPARE(boxes->boxes.size(), 1);
        CompareLastBox(MessageKind::Failure, "Editor exploded.", MessageButtons::Ok);
    }

    void calculateWithoutACalculatorReportsIt_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Calculate button") << false;
        QTest::newRow("Calculate menu item") << true;
    }

    void calculateWithoutACalculatorReportsIt() {
        QFETCH(bool, fromMenu);
        State.BatchPath = Bytes(PathOf("missing-calculator"));
        State.ProjectPath = Bytes(PathOf("model.plx"));
        State.ProjectName = "model";
        QDir(folder.path()).mkdir("model.dta");
        QFile model(PathOf("model.plx"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.close();
        Row(State, 1) = {1, 30.0, 3.0, 10.0, 2.0};
        fromMenu ? Main().Calc->trigger() : Main().Buttoncalc->click();
        QVERIFY(program->calc->isVisible());
        QCOMPARE(boxes->boxes.size(), 1);
        // Found missing before the first run.
        CompareLastBox(MessageKind::Failure,
                       Text("The batch calculator cannot be found: " + State.BatchPath + "."),
                       MessageButtons::Ok);
    }

    void pictureDecoding_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("decodes");
        QFile picture(QStringLiteral(":/zelmora/slope.jpg"));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray jpeg = picture.readAll();
        QTest::newRow("picture") << jpeg << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("not a JPEG") << QByteArray("GIF89a not a jpeg at all") << false;
        QTest::newRow("header only") << jpeg.left(20) << false;
    }

    void pictureDecoding() {
        QFETCH(QByteArray, data);
        QFETCH(bool, decodes);
        const QImage image = DecodeJpeg(data);
        QCOMPARE(!image.isNull(), decodes);
        if (!decodes)
            return;
        QCOMPARE(image.size(), QSize(87, 38));
        // Light blue sky at the top left, brown ground at the bottom left.
        const QColor sky = image.pixelColor(2, 2);
        const QColor ground = image.pixelColor(2, 35);
        QVERIFY(sky.blue() > sky.red() && sky.lightness() > 180);
        QVERIFY(ground.red() > ground.blue() && ground.lightness() < 120);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
