#pragma once
// A window built at its design's size that the operator may make larger:
// each control follows the window's growth by the shares given to it (1:
// moves or grows as much as the window, 0.5: half as much), so that lists
// get the room and the buttons stay at their edge.

#include <QDialog>
#include <QRect>
#include <QWidget>

#include <vector>

namespace tarvex::plateforme {

class Ancrage {
public:
    // From here on `fenetre` may be enlarged, not made smaller than now.
    explicit Ancrage(QDialog* fenetre) : fenetre_(fenetre), base_(fenetre->size())
    {
        fenetre->setMinimumSize(base_);
        fenetre->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        fenetre->setSizeGripEnabled(true);
    }

    // Shares of the width's growth for x and width, of the height's for y and height.
    Ancrage& ancrer(QWidget* w, double x, double y, double l, double h)
    {
        ancres_.push_back({w, w->geometry(), x, y, l, h});
        return *this;
    }

    // From the window's resize event.
    void suivre() const
    {
        const int dx = fenetre_->width() - base_.width(), dy = fenetre_->height() - base_.height();
        for (const Ancre& a : ancres_)
            a.w->setGeometry(a.depart.x() + static_cast<int>(a.x * dx), a.depart.y() + static_cast<int>(a.y * dy),
                             a.depart.width() + static_cast<int>(a.l * dx),
                             a.depart.height() + static_cast<int>(a.h * dy));
    }

private:
    struct Ancre {
        QWidget* w;
        QRect depart;
        double x, y, l, h;
    };
    QDialog* fenetre_;
    QSize base_;
    std::vector<Ancre> ancres_;
};

}  // namespace tarvex::plateforme
