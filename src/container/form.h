#pragma once
// A form: a real QWidget with the class library's form properties and events. Without a parent
// widget it is a top-level window (the border style, icons, style and position become window
// flags and placement); inside a container it is a child widget, and those properties are kept
// for the container to read. A form class is a TForm subclass with a Q_INVOKABLE constructor
// (QObject* Owner) that builds its controls; CreateForm makes one from its class reference and
// fires OnCreate once it is complete.
#include <QColor>
#include <QMenuBar>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "container/form_types.h"
#include "gdi/color.h"

class QPainter;

namespace vte {

class TForm;

using TFormNotifyEvent = std::function<void(TForm* Sender)>;
using TFormCloseEvent = std::function<void(TForm* Sender, TCloseAction& Action)>;
using TFormCloseQueryEvent = std::function<void(TForm* Sender, bool& CanClose)>;
using TFormPaintEvent = std::function<void(TForm* Sender, QPainter& Painter)>;
// Key set to 0 swallows the key.
using TFormKeyEvent = std::function<void(TForm* Sender, int& Key, Qt::KeyboardModifiers Shift)>;

class TForm : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(vte::form_types::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(vte::form_types::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
  Q_PROPERTY(vte::form_types::TPosition Position READ Position WRITE SetPosition)
  Q_PROPERTY(vte::form_types::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
  Q_PROPERTY(vte::form_types::TWindowState WindowState READ WindowState WRITE SetWindowState)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)

public:
  Q_INVOKABLE explicit TForm(QObject* Owner = nullptr);
  ~TForm() override;  // fires OnDestroy

  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& V) { setWindowTitle(V); }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle V);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons V);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition V) { FPosition = V; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle V);
  TWindowState WindowState() const;
  void SetWindowState(TWindowState V);
  TColor Color() const { return FColor; }
  void SetColor(TColor V);
  int ClientWidth() const { return width(); }
  void SetClientWidth(int V);
  int ClientHeight() const { return height(); }
  void SetClientHeight(int V);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool V) { FKeyPreview = V; }
  // The control that has (or gets, when the form is activated) the focus within the form.
  QWidget* ActiveControl() const;
  void SetActiveControl(QWidget* Control);
  // The form's main menu (owned by the form once set). A top-level form shows it along its top;
  // a hosted form's menu is merged into its parent form's by the container when the menu bar's
  // "AutoMerge" property is true.
  QMenuBar* Menu() const { return FMenu; }
  void SetMenu(QMenuBar* Menu);

  // OnCloseQuery, then OnClose with caHide; the action decides (caNone keeps the form, caHide
  // hides it, caFree releases it, caMinimize minimises it). Closing the window does the same.
  void Close();
  bool CloseQuery();
  // The form's destruction has begun (its OnDestroy runs).
  bool Destroying() const { return FDestroying; }
  // Deletes the form once control returns to the event loop.
  void Release() { deleteLater(); }
  // Runs Loaded, then fires OnCreate (once); CreateForm calls it when the form's construction is
  // complete.
  void AfterConstruction();

  TFormNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnActivate, OnDeactivate, OnEnter, OnExit;
  TFormCloseEvent OnClose;
  TFormCloseQueryEvent OnCloseQuery;
  TFormPaintEvent OnPaint;
  TFormKeyEvent OnKeyDown;

protected:
  // The form's constructors have run (its controls, names and sizes are in place); OnCreate follows.
  virtual void Loaded() {}
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  void ApplyWindowFlags();
  bool FixedBorder() const;
  void PlaceAtFirstShow();
  void FocusChanged(QWidget* Old, QWidget* Now);
  // Runs the close protocol; true when the form is to be closed (hidden or released).
  bool DoClose();

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = TBorderIcons(biSystemMenu) | biMinimize | biMaximize;
  TPosition FPosition = poDefaultPosOnly;
  TFormStyle FFormStyle = fsNormal;
  TColor FColor = clBtnFace;
  bool FKeyPreview = false;
  bool FCreated = false;
  bool FShownOnce = false;
  bool FClosing = false;
  bool FDestroying = false;
  bool FApplyingFlags = false;
  QPointer<QWidget> FActiveControl;
  QPointer<QMenuBar> FMenu;
};

// A new form of FormClass (a TForm subclass with a Q_INVOKABLE (QObject*) constructor), its
// OnCreate fired; null when the class is not such a form class. A failing OnCreate frees the form
// and the failure goes on to the caller.
TForm* CreateForm(const QMetaObject* FormClass, QObject* Owner);

}  // namespace vte
