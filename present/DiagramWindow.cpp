#include "DiagramWindow.h"

#include "common/ErrorReport.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"
#include "present/ModulePicture.h"
#include "present/ScreenFit.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace {

// Where imDiagram sits in the window; the window grows around it.
constexpr int pictureLeft = 120;
constexpr int pictureTop = 120;

void reportFailure(const QString &description, int number)
{
    ShowErrorReport({description, number, QStringLiteral("Procedure Name: ShowDiagram")});
}

} // namespace

void ShowDiagram(const QuestionBank &bank, const TestState &state, const QString &moduleFolder,
                 QWidget *parent)
{
    if (!bank.questions.contains(state.curQ)) {
        reportFailure(QStringLiteral("Subscript out of range"), 9);
        return;
    }
    const ModulePicture loaded =
        loadModulePicture(moduleFolder, bank.questions[state.curQ].diagramFile);
    if (loaded.errorNumber != 0) {
        reportFailure(loaded.problem, loaded.errorNumber);
        return;
    }
    const QPixmap &picture = loaded.picture;

    // On the heap: the parent may be closed while the window is open (time is up).
    QPointer<QDialog> frDiagram = new QDialog(parent);
    frDiagram->setObjectName(QStringLiteral("frDiagram"));
    frDiagram->setWindowTitle(
        QStringLiteral("Diagram: Item %1 of %2").arg(state.curItem).arg(state.testLength));
    frDiagram->setModal(true);

    auto *imDiagram = new QLabel(frDiagram);
    imDiagram->setTextFormat(Qt::PlainText);
    imDiagram->setObjectName(QStringLiteral("imDiagram"));
    imDiagram->setPixmap(picture);
    imDiagram->setGeometry(twips(pictureLeft), twips(pictureTop), picture.width(),
                           picture.height());

    auto *cmClose = new QPushButton(QStringLiteral("&Close"), frDiagram);
    cmClose->setObjectName(QStringLiteral("cmClose"));
    cmClose->setDefault(true);
    QObject::connect(cmClose, &QPushButton::clicked, frDiagram, &QDialog::accept);

    // The window fits the picture: Close 240 below it and centred, margins of 300 to the
    // right and 600 below.
    const int width = imDiagram->geometry().right() + 1 + twips(300);
    const int closeWidth = twips(1215);
    const int closeHeight = twips(375);
    const int closeTop = imDiagram->geometry().bottom() + 1 + twips(240);
    cmClose->setGeometry(width / 2 - closeWidth / 2, closeTop, closeWidth, closeHeight);
    setFixedSizeWithinScreen(frDiagram, QSize(width, closeTop + closeHeight + twips(600)));

    frDiagram->exec();
    delete frDiagram;
}
