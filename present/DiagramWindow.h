#pragma once

#include <QString>

class QWidget;
struct QuestionBank;
struct TestState;

// Shows the diagram picture of the item on screen (state.curItem, state.curQ) modally in
// frDiagram, sized to the picture, captioned "Diagram: Item <item> of <testLength>". A
// missing or unloadable picture, or a name that is not a plain file name inside
// moduleFolder, shows the error report naming ShowDiagram instead. Returns when the
// window is closed.
void ShowDiagram(const QuestionBank &bank, const TestState &state, const QString &moduleFolder,
                 QWidget *parent);
