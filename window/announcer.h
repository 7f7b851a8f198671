#pragma once
// Words a screen reader says at once, wherever the focus is: an empty notification of the
// window that assistive technology sees appear, named after the words, and that shows nothing.

#include <QString>
#include <QWidget>

namespace brivana::window {

class Announcer final : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void say(const QString& words);
};

}  // namespace brivana::window
