#include "NextModal.h"
#include "app/QtMessageBoxes.h"

#include <QMessageBox>
#include <QTest>

using namespace Qt::StringLiterals;

// The real boxes: Return takes the default answer (OK or Yes), Escape the safe one.
class TestQtMessageBoxes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysAnswerTheBox_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<MessageButton>("answer");

        const int enter = Qt::Key_Return;
        const int escape = Qt::Key_Escape;
        using Buttons = MessageButtons;
        using Answer = MessageButton;
        QTest::newRow("OK, Return") << Buttons::Ok << enter << Answer::Ok;
        QTest::newRow("OK, Escape") << Buttons::Ok << escape << Answer::Ok;
        QTest::newRow("OK/Cancel, Escape") << Buttons::OkCancel << escape << Answer::Cancel;
        QTest::newRow("Yes/No, Return") << Buttons::YesNo << enter << Answer::Yes;
        QTest::newRow("Yes/No, Escape") << Buttons::YesNo << escape << Answer::No;
        QTest::newRow("Yes/No/Cancel, Escape") << Buttons::YesNoCancel << escape << Answer::Cancel;
    }

    void keysAnswerTheBox()
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
        QCOMPARE(
            boxes.show({u"Exit Quendra..."_s, u"Are you sure?"_s, MessageIcon::Question, buttons}),
            answer);
        QCOMPARE(shown, u"Exit Quendra...|Are you sure?"_s);
    }
};

QTEST_MAIN(TestQtMessageBoxes)
#include "tst_qtmessageboxes.moc"
