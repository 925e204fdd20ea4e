#include "BankBuilder.h"
#include "ErrorReportBox.h"
#include "FakeMessageBoxes.h"
#include "NextModal.h"
#include "engine/TestState.h"
#include "present/DiagramWindow.h"
#include "present/ExhibitWindow.h"

#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class ExhibitDiagramTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheFileOrReports_data()
    {
        QTest::addColumn<bool>("diagram");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QList<MessageBoxRequest>>("boxes");

        const auto png = [](int width, int height) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImage image(width, height, QImage::Format_RGB32);
            image.fill(Qt::white);
            image.save(&buffer, "PNG");
            return bytes;
        };
        const auto shows = [](const char *name, bool diagram, const QByteArray &content,
                              const QString &shown) {
            QTest::newRow(name) << diagram << QString() << content << shown
                                << QList<MessageBoxRequest>();
        };
        const auto fails = [](const char *name, bool diagram, const QByteArray &content,
                              const QString &description = u"File not found"_s, int number = 53,
                              const QString &fileName = QString()) {
            const QString procedure = diagram ? u"ShowDiagram"_s : u"ShowExhibit"_s;
            QTest::newRow(name) << diagram << fileName << content << QString()
                                << QList{errorReportBox(
                                       {description, number, u"Procedure Name: "_s + procedure})};
        };
        // Text that is not UTF-8 is read as Windows-1252; markup stays text.
        shows("exhibit", false, "R1\r\n<b>caf\xE9</b>\r\n",
              u"Exhibit: Item 12 of 60|R1\n<b>caf\u00e9</b>\n"_s);
        shows("diagram at its own size", true, png(900, 300),
              u"Diagram: Item 12 of 60|900 x 300"_s);
        // A picture larger than the screen scrolls inside a window that fits on it.
        shows("diagram larger than the screen", true, png(3000, 3000),
              u"Diagram: Item 12 of 60|3000 x 3000"_s);
        fails("missing exhibit", false, QByteArray());
        fails("exhibit outside the module folder", false, "not for modules", u"File not found"_s,
              53, u"../secret.txt"_s);
        fails("exhibit larger than any exhibit", false, QByteArray(4 * 1024 * 1024 + 1, 'x'),
              u"Invalid file format"_s, 321);
        // Reading these would block or never end: only regular files are read.
        fails("exhibit that is a pipe", false, "|fifo");
        fails("diagram that is a pipe", true, "|fifo");
        fails("exhibit linked to a device", false, "|/dev/zero");
        fails("no picture", true, "this is no picture", u"Invalid picture"_s, 481);
    }

    void showsTheFileOrReports()
    {
        QFETCH(bool, diagram);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        QFETCH(QList<MessageBoxRequest>, boxes);

        FakeMessageBoxes fake;
        // The module folder lies inside the scratch folder, so that ".." stays in it.
        QTemporaryDir scratch;
        const QString moduleFolder = scratch.filePath(u"Module"_s);
        QVERIFY(QDir().mkpath(moduleFolder));
        if (fileName.isEmpty())
            fileName = diagram ? u"net.png"_s : u"r1.txt"_s;
        const QString path = moduleFolder + u'/' + fileName;
        if (content == "|fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (content.startsWith('|')) {
            QVERIFY(QFile::link(QString::fromLatin1(content.mid(1)), path));
        } else {
            QFile file(path);
            QVERIFY(content.isNull() ||
                    (file.open(QIODevice::WriteOnly) && file.write(content) >= 0));
        }
        QuestionBank bank = BankBuilder().objectives(1).questions(1, 1).bank();
        (diagram ? bank.questions[1].diagramFile : bank.questions[1].exhibitFile) = fileName;
        TestState state;
        state.testLength = 60;
        state.curItem = 12;
        state.curQ = 1;

        QString opened;
        QString seen;
        onNextModal(this, opened, [&](QWidget *window) {
            seen = window->windowTitle() + u'|';
            const QRect screen = window->screen()->availableGeometry();
            if (window->width() > screen.width() || window->height() > screen.height())
                seen += u"beyond the screen: "_s;
            if (const auto *text = window->findChild<QPlainTextEdit *>(u"txExhibit"_s))
                seen += text->toPlainText();
            if (const auto *image = window->findChild<QLabel *>(u"imDiagram"_s))
                seen += u"%1 x %2"_s.arg(image->width()).arg(image->height());
            qobject_cast<QDialog *>(window)->accept();
        });
        (diagram ? ShowDiagram : ShowExhibit)(bank, state, moduleFolder, nullptr);
        QCOMPARE(seen, shown);
        QCOMPARE(fake.shown, boxes);
    }
};

QTEST_MAIN(ExhibitDiagramTest)
#include "tst_exhibitdiagram.moc"
