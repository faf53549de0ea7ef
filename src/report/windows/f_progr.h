#pragma once
// The progress window shown while a report is printed, saved or loaded.

#include "report/engine/progress_window.h"

#include <QBasicTimer>
#include <QDialog>
#include <QPixmap>

class QLabel;
class QProgressBar;
class QPushButton;

namespace nfp {

class TRelGrade;

inline constexpr int kProgressFrames = 6;
inline constexpr int kProgressFrameWidth = 35;
inline constexpr int kProgressFrameHeight = 34;

// The counter after one more frame: 1, 2, 3, 4, 5, 0, 1, ...
int NextProgressFrame(int counter);

enum class ProgressStrip { None, Lendo, Imprimindo, Gravando };
ProgressStrip StripForCaption(const std::string& caption);

class TFRMProgr : public QDialog, public ProgressWindow {
  Q_OBJECT
 public:
  explicit TFRMProgr(TRelGrade& owner, QWidget* parent = nullptr);
  ~TFRMProgr() override;

  // ProgressWindow.
  void SetColors(TColor form, TColor font) override;
  void SetCaption(const std::string& caption) override;
  void SetLabel(const std::string& text) override;
  void SetMaximum(int maximum) override;
  void SetPosition(int position) override;
  void Show() override;
  void Step() override;
  void Repaint() override;
  void Close() override;

  // Draws the next animation frame.
  void desenha();
  void SpeedButton1Click();

  int Counter() const { return counter_; }
  ProgressStrip Strip() const { return StripForCaption(windowTitle().toStdString()); }
  // The frame on screen, 35 x 34.
  const QPixmap& Frame() const { return frame_; }
  static QPixmap StripPicture(ProgressStrip strip);

  QLabel* NOMEREL = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* SpeedButton1 = nullptr;
  static constexpr int kTimerInterval = 500;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TRelGrade& owner_;
  QBasicTimer timer_;
  int counter_ = 0;
  QPixmap frame_;
  QPixmap lendo_, imprimindo_, gravando_;
  bool closing_ = false;
};

class QtProgressWindowFactory final : public ProgressWindowFactory {
 public:
  std::unique_ptr<ProgressWindow> Create(TRelGrade& owner) override;
};

}  // namespace nfp
