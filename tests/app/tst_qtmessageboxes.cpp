#include "NextModal.h"
#include "app/QtMessageBoxes.h"

#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

// The real boxes: Return takes the default answer, Escape the safe one.
class TestQtMessageBoxes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysAnswerTheBox_data();
    void keysAnswerTheBox();
};

void TestQtMessageBoxes::keysAnswerTheBox_data()
{
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<MessageButton>("answer");

    QTest::newRow("OK, Return") << MessageButtons::Ok << int(Qt::Key_Return) << MessageButton::Ok;
    QTest::newRow("OK, Escape") << MessageButtons::Ok << int(Qt::Key_Escape) << MessageButton::Ok;
    QTest::newRow("OK/Cancel, Return")
        << MessageButtons::OkCancel << int(Qt::Key_Return) << MessageButton::Ok;
    QTest::newRow("OK/Cancel, Escape")
        << MessageButtons::OkCancel << int(Qt::Key_Escape) << MessageButton::Cancel;
    QTest::newRow("Yes/No, Return")
        << MessageButtons::YesNo << int(Qt::Key_Return) << MessageButton::Yes;
    QTest::newRow("Yes/No, Escape")
        << MessageButtons::YesNo << int(Qt::Key_Escape) << MessageButton::No;
    QTest::newRow("Yes/No/Cancel, Return")
        << MessageButtons::YesNoCancel << int(Qt::Key_Return) << MessageButton::Yes;
    QTest::newRow("Yes/No/Cancel, Escape")
        << MessageButtons::YesNoCancel << int(Qt::Key_Escape) << MessageButton::Cancel;
}

void TestQtMessageBoxes::keysAnswerTheBox()
{
    QFETCH(MessageButtons, buttons);
    QFETCH(int, key);
    QFETCH(MessageButton, answer);

    QtMessageBoxes boxes;
    QString opened;
    QString shown;
    onNextModal(this, opened, [&](QWidget *box) {
        shown = box->windowTitle() + u'|' + qobject_cast<QMessageBox *>(box)->text();
        QTest::keyClick(box, Qt::Key(key));
    });
    QCOMPARE(boxes.show({u"Exit Quendra..."_s, u"Are you sure?"_s, MessageIcon::Question, buttons}),
             answer);
    QCOMPARE(shown, u"Exit Quendra...|Are you sure?"_s);
}

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
