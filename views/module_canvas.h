// The editor canvas of one module list: a Graphics View over a TCanvasScene whose items are the
// module panels. The model's rectangles are scene points, so scrolling and zoom (25 % to 400 %,
// Ctrl+wheel, Ctrl+plus, Ctrl+minus, Ctrl+0, Ctrl+F to fit all) live in the view's transform
// alone and never change a rectangle or a file; to the model the canvas never scrolls. Presses
// on the empty canvas start the rubber band (left) or panning (right or middle).
#pragma once

#include <QGraphicsView>
#include <optional>

#include "patch/module_view.h"

class TCanvasScene;
class TModuleListe;

class TModuleCanvasView : public QGraphicsView, public TModuleCanvas {
 public:
  explicit TModuleCanvasView(QWidget* parent = nullptr);
  // Drops the views of the shown list (the window closes, the modules stay).
  ~TModuleCanvasView() override;

  // Shows `list` (null: none), editable unless `mode` is kPanelSample.
  void Show(TModuleListe* list, int mode = kPanelEditable);
  TModuleListe* List() const;
  TCanvasScene& Scene() const { return *scene_; }

  double Zoom() const { return zoom_; }
  // Sets the zoom, limited to 25 % .. 400 %.
  void SetZoom(double zoom);
  void ZoomBy(double factor);
  // Zooms so that every panel is in view (within the limits).
  void FitAll();

  int HorizontalScroll() const override { return 0; }
  int VerticalScroll() const override { return 0; }
  // Scrolls by viewport pixels.
  void ScrollBy(int dx, int dy) override;
  std::unique_ptr<TModuleView> CreateModuleView(TModul& module, bool editable) override;
  void Repaint() override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The canvas gesture under way: none, the rubber band or panning.
  enum class TGesture { None, Band, Panning };
  QPoint CanvasPoint(QPoint viewportPos) const;

  TCanvasScene* scene_;
  double zoom_ = 1.0;
  TGesture gesture_ = TGesture::None;
  QPointF bandAnchor_;
};
