#pragma once
// The window's client area: black until the first question, then the question's gradient,
// repainted from the stored draws whenever it is uncovered. The controls are its children.

#include <QWidget>
#include <cstdint>

#include "layout/contrast.h"

namespace brivana::window {

class Surface final : public QWidget {
    Q_OBJECT
public:
    explicit Surface(QWidget* parent = nullptr);

    void setGradient(std::int16_t p, std::int16_t q);
    bool hasGradient() const { return draws_.has_value(); }
    // The halo of a label on the surface, rows high from top, with text of this colour.
    std::optional<layout::Rgb> haloColour(layout::Rgb text, int top, int rows) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    layout::Draws draws_;
};

}  // namespace brivana::window
