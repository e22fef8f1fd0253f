#pragma once

#include <QImage>
#include <QWidget>

// Shows a picture at its natural size, anchored at the top-left corner.
// Paints only the exposed part, so very tall pictures stay cheap to scroll.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget *parent = nullptr);

    const QImage &picture() const { return image; }
    // Takes the picture and resizes the view to it (0 x 0 for a null image).
    void setPicture(QImage picture);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage image;
};
