#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "NextModal.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"
#include "present/DiagramWindow.h"
#include "present/ExhibitWindow.h"
#include "present/ModuleFile.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ExhibitDiagramTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void acceptsOnlyPlainNames_data();
    void acceptsOnlyPlainNames();
    void showsTheExhibitAsPlainText();
    void showsTheDiagramAtItsOwnSize();
    void reportsWhatItCannotShow_data();
    void reportsWhatItCannotShow();

private:
    void writeFile(const QString &name, const QByteArray &content);

    QTemporaryDir m_folder;
    QuestionBank m_bank;
    TestState m_state;
};

void ExhibitDiagramTest::init()
{
    QDir(m_folder.path()).removeRecursively();
    QDir().mkpath(m_folder.path());
    Question question;
    question.questionId = 1;
    question.exhibitFile = u"r1-config.txt"_s;
    question.diagramFile = u"topology.png"_s;
    m_bank.questions = {};
    m_bank.questions.append(question);
    m_state.testLength = 60;
    m_state.curItem = 12;
    m_state.curQ = 1;
}

void ExhibitDiagramTest::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(m_folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void ExhibitDiagramTest::acceptsOnlyPlainNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << u"rt-0001.txt"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("parent") << u".."_s << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("up and over") << u"../secret.txt"_s << false;
    QTest::newRow("backslash") << u"..\\boot.ini"_s << false;
    QTest::newRow("absolute") << u"/etc/passwd"_s << false;
    QTest::newRow("drive") << u"C:autoexec.bat"_s << false;
    QTest::newRow("subfolder") << u"files/a.txt"_s << false;
}

void ExhibitDiagramTest::acceptsOnlyPlainNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    const std::optional<QString> path = moduleFilePath(u"/opt/q/Module/"_s, name);
    QCOMPARE(path, accepted ? std::optional(u"/opt/q/Module/"_s + name) : std::nullopt);
}

void ExhibitDiagramTest::showsTheExhibitAsPlainText()
{
    FakeMessageBoxes boxes;
    // Not UTF-8: read as Windows-1252.
    writeFile(u"r1-config.txt"_s, "hostname R1\r\n<b>caf\xE9</b>\r\n");
    QString opened;
    QString title;
    QString text;
    onNextModal(this, opened, [&](QWidget *window) {
        title = window->windowTitle();
        text = window->findChild<QPlainTextEdit *>(u"txExhibit"_s)->toPlainText();
        qobject_cast<QDialog *>(window)->accept();
    });

    ShowExhibit(m_bank, m_state, m_folder.path(), nullptr);

    QCOMPARE(opened, u"frExhibit"_s);
    QCOMPARE(title, u"Exhibit: Item 12 of 60"_s);
    QCOMPARE(text, u"hostname R1\n<b>caf\u00e9</b>\n"_s);
    QVERIFY(boxes.shown.isEmpty());
}

void ExhibitDiagramTest::showsTheDiagramAtItsOwnSize()
{
    FakeMessageBoxes boxes;
    QPixmap picture(900, 300);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(m_folder.filePath(u"topology.png"_s), "PNG"));
    QString opened;
    QSize shown;
    onNextModal(this, opened, [&](QWidget *window) {
        const QWidget *image = window->findChild<QLabel *>(u"imDiagram"_s);
        if (window->rect().contains(image->geometry()))
            shown = image->size();
        qobject_cast<QDialog *>(window)->accept();
    });

    ShowDiagram(m_bank, m_state, m_folder.path(), nullptr);

    QCOMPARE(opened, u"frDiagram"_s);
    QCOMPARE(shown, picture.size());
    QVERIFY(boxes.shown.isEmpty());
}

void ExhibitDiagramTest::reportsWhatItCannotShow_data()
{
    QTest::addColumn<bool>("diagram");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<MessageBoxRequest>("box");

    const auto report = [](const char *procedure, const QString &description, int number) {
        return errorReportBox(
            {description, number, u"Procedure Name: "_s + QLatin1String(procedure)});
    };
    QTest::newRow("missing exhibit")
        << false << QString() << QByteArray() << report("ShowExhibit", u"File not found"_s, 53);
    QTest::newRow("exhibit outside the module folder")
        << false << u"../secret.txt"_s << QByteArray("not for modules")
        << report("ShowExhibit", u"File not found"_s, 53);
    QTest::newRow("missing diagram")
        << true << QString() << QByteArray() << report("ShowDiagram", u"File not found"_s, 53);
    QTest::newRow("no picture") << true << u"topology.png"_s << QByteArray("this is no picture")
                                << report("ShowDiagram", u"Invalid picture"_s, 481);
}

void ExhibitDiagramTest::reportsWhatItCannotShow()
{
    QFETCH(bool, diagram);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(MessageBoxRequest, box);

    FakeMessageBoxes boxes;
    // The module folder is a folder inside the scratch folder, so that ".." stays in it.
    const QString moduleFolder = m_folder.filePath(u"Module"_s);
    QVERIFY(QDir().mkpath(moduleFolder));
    if (!fileName.isEmpty()) {
        writeFile(u"Module/"_s + fileName, content);
        m_bank.questions[1].exhibitFile = fileName;
        m_bank.questions[1].diagramFile = fileName;
    }
    (diagram ? ShowDiagram : ShowExhibit)(m_bank, m_state, moduleFolder, nullptr);
    QCOMPARE(boxes.shown, QList{box});
}

QTEST_MAIN(ExhibitDiagramTest)
#include "tst_exhibitdiagram.moc"
