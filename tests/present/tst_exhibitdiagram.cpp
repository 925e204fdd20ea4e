#include "FakeMessageBoxes.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "present/DiagramWindow.h"
#include "present/ExhibitWindow.h"
#include "present/ModuleFile.h"
#include "moduledb/QuestionBank.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs check on the modal window once it is up, then closes it with its Close button.
void whenShown(const QString &name, std::function<void(QDialog *)> check)
{
    QTimer::singleShot(0, [name, check] {
        QDialog *dialog = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name && widget->isVisible())
                dialog = qobject_cast<QDialog *>(widget);
        }
        QVERIFY(dialog);
        check(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmClose")),
                          Qt::LeftButton);
    });
}

} // namespace

class ExhibitDiagramTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void acceptsOnlyPlainNames_data();
    void acceptsOnlyPlainNames();
    void showsExhibitTextWithCaption();
    void missingExhibitReportsAndGoesOn();
    void exhibitOutsideModuleIsMissing();
    void sizesDiagramWindowToPicture_data();
    void sizesDiagramWindowToPicture();
    void unreadablePictureReports();

private:
    void writeFile(const QString &name, const QByteArray &content);
    void writePicture(const QString &name, QSize size);

    QTemporaryDir m_folder;
    QuestionBank m_bank;
    TestState m_state;
};

void ExhibitDiagramTest::init()
{
    for (const QString &name : QDir(m_folder.path()).entryList(QDir::Files))
        QFile::remove(m_folder.filePath(name));
    m_bank = {};
    Question question;
    question.questionId = 1;
    question.exhibitFile = QStringLiteral("r1-config.txt");
    question.diagramFile = QStringLiteral("topology.png");
    m_bank.questions.append(question);
    m_state = {};
    m_state.testLength = 60;
    m_state.curItem = 12;
    m_state.curQ = 1;
    m_state.answerRecs.fill(1, AnswerRecord{});
    m_state.answerRecs[1].answer = 4;
}

void ExhibitDiagramTest::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(m_folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void ExhibitDiagramTest::writePicture(const QString &name, QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(m_folder.filePath(name), "PNG"));
}

void ExhibitDiagramTest::acceptsOnlyPlainNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << QStringLiteral("rt-0001.txt") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("parent") << QStringLiteral("..") << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("up and over") << QStringLiteral("../secret.txt") << false;
    QTest::newRow("backslash") << QStringLiteral("..\\boot.ini") << false;
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
    QTest::newRow("drive") << QStringLiteral("C:autoexec.bat") << false;
    QTest::newRow("subfolder") << QStringLiteral("files/a.txt") << false;
}

void ExhibitDiagramTest::acceptsOnlyPlainNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    const std::optional<QString> path = moduleFilePath(QStringLiteral("/opt/q/Module/"), name);
    QCOMPARE(path.has_value(), accepted);
    if (accepted)
        QCOMPARE(*path, QStringLiteral("/opt/q/Module/") + name);
}

void ExhibitDiagramTest::showsExhibitTextWithCaption()
{
    FakeMessageBoxes boxes;
    const QByteArray config = "hostname R1\r\ninterface Gi0/0\r\n ip address 10.0.0.1 "
                              "255.255.255.0\r\n";
    writeFile(QStringLiteral("r1-config.txt"), config);
    bool checked = false;
    whenShown(QStringLiteral("frExhibit"), [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Exhibit: Item 12 of 60"));
        QVERIFY(dialog->isModal());
        auto *text = dialog->findChild<QPlainTextEdit *>(QStringLiteral("txExhibit"));
        QVERIFY(text);
        QCOMPARE(text->toPlainText(), QStringLiteral("hostname R1\ninterface Gi0/0\n ip "
                                                     "address 10.0.0.1 255.255.255.0\n"));
        const QFontMetrics metrics(text->font());
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')),
                 metrics.horizontalAdvance(QLatin1Char('W')));
        checked = true;
    });

    ShowExhibit(m_bank, m_state, m_folder.path(), nullptr);

    QVERIFY(checked);
    QCOMPARE(boxes.shown.size(), 0);
    // Looking at the exhibit leaves the item and its answer alone.
    QCOMPARE(m_state.curItem, 12);
    QVERIFY(std::get<int>(m_state.answerRecs[1].answer) == 4);
}

void ExhibitDiagramTest::missingExhibitReportsAndGoesOn()
{
    FakeMessageBoxes boxes;
    ShowExhibit(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].icon, MessageIcon::Critical);
    QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("\nProcedure Name: ShowExhibit")));
    QVERIFY(boxes.shown[0].text.contains(QStringLiteral("Error Number: 53")));
}

void ExhibitDiagramTest::exhibitOutsideModuleIsMissing()
{
    FakeMessageBoxes boxes;
    QTemporaryDir outside;
    QFile secret(outside.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("not for modules");
    secret.close();
    m_bank.questions[1].exhibitFile = QStringLiteral("../") + QFileInfo(outside.path()).fileName() +
                                      QStringLiteral("/secret.txt");

    ShowExhibit(m_bank, m_state, m_folder.path(), nullptr);

    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("Procedure Name: ShowExhibit")));
}

void ExhibitDiagramTest::sizesDiagramWindowToPicture_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::newRow("small") << QSize(200, 120);
    QTest::newRow("wide") << QSize(900, 300);
}

void ExhibitDiagramTest::sizesDiagramWindowToPicture()
{
    QFETCH(QSize, picture);
    FakeMessageBoxes boxes;
    writePicture(QStringLiteral("topology.png"), picture);
    bool checked = false;
    whenShown(QStringLiteral("frDiagram"), [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Diagram: Item 12 of 60"));
        const QRect image = dialog->findChild<QLabel *>(QStringLiteral("imDiagram"))->geometry();
        const QRect close = dialog->findChild<QPushButton *>(QStringLiteral("cmClose"))->geometry();
        QCOMPARE(image.size(), picture);
        QCOMPARE(dialog->width(), image.right() + 1 + twips(300));
        QCOMPARE(close.top(), image.bottom() + 1 + twips(240));
        QCOMPARE(dialog->height(), close.bottom() + 1 + twips(600));
        QCOMPARE(close.left(), dialog->width() / 2 - close.width() / 2);
        checked = true;
    });

    ShowDiagram(m_bank, m_state, m_folder.path(), nullptr);

    QVERIFY(checked);
    QCOMPARE(boxes.shown.size(), 0);
}

void ExhibitDiagramTest::unreadablePictureReports()
{
    FakeMessageBoxes boxes;
    writeFile(QStringLiteral("topology.png"), "this is no picture");
    ShowDiagram(m_bank, m_state, m_folder.path(), nullptr);
    QCOMPARE(boxes.shown.size(), 1);
    QVERIFY(boxes.shown[0].text.endsWith(QStringLiteral("\nProcedure Name: ShowDiagram")));
}

QTEST_MAIN(ExhibitDiagramTest)
#include "tst_exhibitdiagram.moc"
