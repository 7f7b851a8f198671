#pragma once
// What every start of the game sets up before its window exists: the application's names and
// desktop id, the Italian translations, and the rule that only the game ends the program.

class QApplication;
class QTranslator;

namespace brivana::window {

// translator must outlive the application's event loop. Tells the player when Qt's Italian
// translations are missing.
void SetUpApplication(QApplication& app, QTranslator& translator);

}  // namespace brivana::window
