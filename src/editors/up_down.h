#pragma once
// An up-down control: a pair of arrow buttons that step an integer Position within Min..Max and
// show it in an associated edit. Unlike QSpinBox, the edit stays a control of its own: a page may
// make it read-only while the arrows still step, or let the user type freely and convert the text
// only when the edit is left (PositionFromText), reporting text that is no number.
#include <QWidget>
#include <functional>
#include <stdexcept>

class QLineEdit;
class QToolButton;

namespace vte {

// A text that is not an integer: "'abc' is not a valid integer value".
class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The integer a text stands for (surrounding blanks allowed); EConvertError otherwise.
int StrToInt(const QString& Text);

class TUpDown : public QWidget {
  Q_OBJECT

public:
  explicit TUpDown(QWidget* Parent = nullptr);

  int Min() const { return FMin; }
  void SetMin(int V);
  int Max() const { return FMax; }
  void SetMax(int V);
  // Kept within Min..Max; the associated edit shows it.
  int Position() const { return FPosition; }
  void SetPosition(int V);
  int Increment() const { return FIncrement; }
  void SetIncrement(int V) { FIncrement = V; }
  // Stepping past an end goes round to the other end.
  bool Wrap() const { return FWrap; }
  void SetWrap(bool V) { FWrap = V; }

  // The edit that shows the position (no thousands separator); its Up and Down keys step too.
  QLineEdit* Associate() const { return FAssociate; }
  void SetAssociate(QLineEdit* Edit);
  // Sets the position from the edit's text (clamped); EConvertError when it is no integer.
  void PositionFromText();

  // One step up (Delta 1) or down (-1), as a click on an arrow does.
  void Step(int Delta);

  // After every change of the position.
  std::function<void(TUpDown* Sender)> OnChanged;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void ShowPosition();
  void UpdateButtons();

  QToolButton* FUp;
  QToolButton* FDown;
  // A plain pointer, cleared when the edit goes: the edit's own destructor still sends events
  // through the filter, when it is no QLineEdit any more.
  QLineEdit* FAssociate = nullptr;
  QMetaObject::Connection FAssociateGone;
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  bool FWrap = false;
};

}  // namespace vte
