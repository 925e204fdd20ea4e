#include "ExhibitWindow.h"

#include "common/ErrorReport.h"
#include "common/Twips.h"
#include "engine/TestState.h"
#include "moduledb/Ansi.h"
#include "moduledb/QuestionBank.h"
#include "present/ModuleFile.h"
#include "present/ScreenFit.h"

#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

// Error numbers the report has always used for these failures.
constexpr int fileNotFoundError = 53;
constexpr int fileAccessError = 75;
constexpr int invalidFileFormatError = 321;

// Far more than any exhibit a person reads; a larger file is not the module's text.
constexpr qint64 maxExhibitBytes = 4 * 1024 * 1024;

void reportFailure(const QString &description, int number)
{
    ShowErrorReport({description, number, QStringLiteral("Procedure Name: ShowExhibit")});
}

// Exhibit files are written by module authors in either UTF-8 or the module's
// Windows-1252; text that is not valid UTF-8 is read as Windows-1252.
QString decodeExhibit(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? fromAnsi(bytes) : text;
}

// Courier New, or the system's fixed-pitch font where that family is not installed. Some
// monospace fonts do not declare themselves fixed-pitch, so the glyphs are measured.
QFont exhibitFont()
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QLatin1Char('i')) !=
        metrics.horizontalAdvance(QLatin1Char('W'))) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    return font;
}

} // namespace

void ShowExhibit(const QuestionBank &bank, const TestState &state, const QString &moduleFolder,
                 QWidget *parent)
{
    if (!bank.questions.contains(state.curQ)) {
        reportFailure(QStringLiteral("Subscript out of range"), 9);
        return;
    }
    const QString caption =
        QStringLiteral("Exhibit: Item %1 of %2").arg(state.curItem).arg(state.testLength);
    const std::optional<QString> path =
        moduleFilePath(moduleFolder, bank.questions[state.curQ].exhibitFile);
    if (!path || !isRegularFile(*path)) {
        reportFailure(QStringLiteral("File not found"), fileNotFoundError);
        return;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportFailure(QStringLiteral("Path/File access error"), fileAccessError);
        return;
    }
    if (file.size() > maxExhibitBytes) {
        reportFailure(QStringLiteral("Invalid file format"), invalidFileFormatError);
        return;
    }
    QString content = decodeExhibit(file.read(maxExhibitBytes));
    file.close();
    content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    // On the heap: the parent may be closed while the window is open (time is up).
    QPointer<QDialog> frExhibit = new QDialog(parent);
    frExhibit->setObjectName(QStringLiteral("frExhibit"));
    frExhibit->setWindowTitle(caption);
    frExhibit->setModal(true);
    // No larger than the screen shows: the text scrolls in the window.
    frExhibit->resize(QSize(twips(12000), twips(7200)).boundedTo(roomOnScreen(frExhibit)));

    auto *txExhibit = new QPlainTextEdit(frExhibit);
    txExhibit->setObjectName(QStringLiteral("txExhibit"));
    txExhibit->setFont(exhibitFont());
    txExhibit->setLineWrapMode(QPlainTextEdit::NoWrap);
    txExhibit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txExhibit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txExhibit->setReadOnly(true);
    txExhibit->setPlainText(content);

    auto *cmClose = new QPushButton(QStringLiteral("&Close"), frExhibit);
    cmClose->setObjectName(QStringLiteral("cmClose"));
    cmClose->setFixedSize(twips(1215), twips(375));
    cmClose->setDefault(true);
    QObject::connect(cmClose, &QPushButton::clicked, frExhibit, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmClose);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(frExhibit);
    layout->addWidget(txExhibit);
    layout->addLayout(buttons);

    frExhibit->exec();
    delete frExhibit;
}
