// The baseline: a bare Qt Widgets window painting a 256-band gradient. It reports the moment
// of its first frame and quits, or with --hold stays open until it is killed.
#include <QApplication>
#include <cstring>

#include "baseline/gradient_window.h"

int main(int argc, char* argv[])
{
    const bool hold = argc > 1 && std::strcmp(argv[argc - 1], "--hold") == 0;
    QApplication app(argc, argv);
    brivana::bench::GradientWindow window(hold);
    window.show();
    return QApplication::exec();
}
