#pragma once
// The window's client area: black until the first question, then the question's gradient,
// repainted from the stored draws whenever it is uncovered. The controls are its children.

#include <QWidget>
#include <cstdint>

#include "layout/control_table.h"
#include <optional>
#include <utility>

namespace brivana::window {

class Surface final : public QWidget {
    Q_OBJECT
public:
    explicit Surface(QWidget* parent = nullptr);

    void setGradient(std::int16_t p, std::int16_t q);
    bool hasGradient() const { return draws_.has_value(); }
    // The colour painted on a pixel row of the surface.
    layout::Rgb colourAtRow(int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<std::pair<std::int16_t, std::int16_t>> draws_;
};

}  // namespace brivana::window
