#pragma once
// The toolpath on screen: the wheel zooms about the pointer, a drag pans, a
// click on a move chooses its line. The moves of the line chosen in the
// listing are marked. The path is painted once per frame and kept: marking
// a line repaints only the marks.

#include "trajectoire/dessin.h"

#include <QImage>
#include <QWidget>

namespace tarvex::trajectoire {

class VueTrajectoire : public QWidget {
    Q_OBJECT
    // The marked moves as drawn, in the view's axes ("G1 Z2 X10 → Z-30 X10"), one
    // per line, then a restart's approach ("Approche X65 Y45 → X65 Y45"):
    // what the operator sees marked, for the scenarios.
    Q_PROPERTY(QString texte READ texte)
public:
    explicit VueTrajectoire(QWidget* parent = nullptr);

    // The program, seen as `reglage` says, the whole path fitted in; `p` stays
    // alive as long as the view shows it.
    void montrer(const Programme& p, const Reglage& reglage);
    // The whole path fitted in; with a tool alone, that tool's.
    void ajuster();
    // One tool's moves and holes alone (kTousOutils: every tool's).
    void montrerOutil(int outil);
    int outilSeul() const { return outilSeul_; }
    // Marks the moves of the line (index into the program's lines); -1: none.
    // A marked move outside the view is brought to its centre.
    void marquer(int ligne);
    QString texte() const;
    // A restart's approach over the path, in its own colour: from each point
    // to the next where both are seen (an axis unknown: where the tool is).
    // Empty: none.
    void montrerApproche(std::vector<Point> points, QColor couleur);
    // A click at the point given in the view's axes as drawn ("Z-10 X10"), for
    // the scenarios: true when a move was there.
    Q_INVOKABLE bool choisir(const QString& point);

signals:
    void ligneChoisie(int ligne);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool cliquer(QPointF position);
    void zoomer(QPointF position, double facteur);
    bool montre(int outil) const { return outilSeul_ == kTousOutils || outil == outilSeul_; }

    // What the painted path was painted for.
    struct Etat {
        double echelle = 0, h0 = 0, v0 = 0, ratio = 0;
        QSize taille;
        int outil = 0, version = -1;
        bool operator==(const Etat&) const = default;
    };

    // The approach's strokes in the view's axes; NaN where unknown.
    std::vector<Point2> approche() const;

    const Programme* programme_ = nullptr;
    Reglage reglage_;
    std::vector<Point> approche_;
    QColor couleurApproche_;
    Projection projection_;
    Vue sorte_ = Vue::XY;
    Palette palette_;
    Cadrage cadrage_;
    double echelleAjustee_ = 1;
    bool ajuste_ = true;  // untouched since fitted: a resize fits again
    int ligne_ = -1;
    std::vector<int> lignes_;  // each trace's line
    bool enOrdre_ = true;
    std::vector<int> marques_, croix_;
    int outilSeul_ = kTousOutils;
    int version_ = 0;  // of the projection
    // The path as last painted, and as fitted (Ajuster comes back to it);
    // while a drag goes on, the last one painted is shifted along.
    struct Couche {
        Etat etat;
        QImage image;
    };
    Couche couches_[2];
    int derniere_ = 0;
    QPointF appui_, dernier_;
    bool appuye_ = false, glisse_ = false;
};

}  // namespace tarvex::trajectoire
