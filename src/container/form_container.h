#pragma once
// A scrolling control that hosts forms as its pages: it creates forms of a class inside itself,
// shows one at a time (hiding or destroying the one before, placing the new one, merging its menu
// and actions into the parent form), can animate every change with a transition, and keeps a
// history of the forms shown so that the application can go back, re-creating destroyed forms
// and handing them the state they saved. Its surface is painted by its background options.
//
// CreateForm and the change of page are not re-entrant: calling either while the other runs (from
// OnFormCreate, OnFormDestroy, or a form's show, hide or close handlers) raises
// EFormContainerError "FomContainer is locked".
#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "container/background_options.h"
#include "container/form.h"
#include "container/form_data.h"
#include "container/form_types.h"

namespace vte {

class TTransitionEffect;

class EFormContainerError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TFormContainer : public QScrollArea {
  Q_OBJECT
  Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
  Q_PROPERTY(vte::TFCBackgroundOptions* BackgroundOptions READ BackgroundOptions WRITE SetBackgroundOptions)
  Q_PROPERTY(vte::form_types::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(bool FlickerFree READ FlickerFree WRITE SetFlickerFree)
  Q_PROPERTY(int LRUFormCapacity READ LRUFormCapacity WRITE SetLRUFormCapacity)
  Q_PROPERTY(bool SafeFormDestroy READ SafeFormDestroy WRITE SetSafeFormDestroy)
  Q_PROPERTY(bool SaveLRUDestroyedForms READ SaveLRUDestroyedForms WRITE SetSaveLRUDestroyedForms)
  Q_PROPERTY(QString Version READ Version WRITE SetVersion)

public:
  using TFormChangeEvent = std::function<void(QObject* Sender, TForm* OldForm, TForm* NewForm, bool& CanChange)>;
  using TFormEvent = std::function<void(QObject* Sender, TForm* Form)>;

  Q_INVOKABLE explicit TFormContainer(QWidget* Parent = nullptr);
  ~TFormContainer() override;

  // --- properties ---
  // Scroll bars when the shown form is larger than the container; the transition then covers the
  // container's bounds in its parent.
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool V);
  TFCBackgroundOptions* BackgroundOptions() const { return FOptions; }
  void SetBackgroundOptions(TFCBackgroundOptions* V);  // copies the settings
  // The background options' picture.
  TPicture& Picture() { return FOptions->Picture(); }
  void SetPicture(const TPicture& V) { FOptions->SetPicture(V); }
  // bsNone or bsSingle (a sunken edge).
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle V);
  TColor Color() const;
  void SetColor(TColor V);
  // A change without a transition is still shown behind a flicker-free cut.
  bool FlickerFree() const { return FFlickerFree; }
  void SetFlickerFree(bool V) { FFlickerFree = V; }
  int LRUFormCapacity() const { return FLRUFormCapacity; }
  void SetLRUFormCapacity(int V);  // drops the oldest entries beyond it
  // Forms are deleted once their pending events are done rather than at once.
  bool SafeFormDestroy() const { return FSafeFormDestroy; }
  void SetSafeFormDestroy(bool V) { FSafeFormDestroy = V; }
  // Destroyed forms keep their history entries (and may save their state).
  bool SaveLRUDestroyedForms() const { return FSaveLRUDestroyedForms; }
  void SetSaveLRUDestroyedForms(bool V) { FSaveLRUDestroyedForms = V; }
  QString Version() const;
  void SetVersion(const QString&) {}  // read-only in effect

  // --- forms ---
  // A new form of FormClass inside the container, hidden. The class must design its forms without
  // border, in fsNormal style, wsNormal state and hidden; a form that breaks a rule is freed and
  // the rule raised as EFormContainerError.
  TForm* CreateForm(const QMetaObject* FormClass);
  // Form (null: none) becomes the shown form; the one shown before is hidden, or destroyed with
  // DestroyCurrent. Align overrides the form's placement, BackgroundOptions (when given) are
  // copied into the container's, and Transition (when given) animates the change.
  void ShowForm(TForm* Form, bool DestroyCurrent, TFCFormAlign Align = fcfaDefault,
                TFCBackgroundOptions* BackgroundOptions = nullptr, TTransitionEffect* Transition = nullptr);
  // Shows the form of history entry Index (from 1), re-created when it was destroyed; false when
  // there is no such entry or it is the current one.
  bool ShowHistoryForm(int Index, bool DestroyCurrent, TFCFormAlign Align = fcfaDefault,
                       TFCBackgroundOptions* BackgroundOptions = nullptr, TTransitionEffect* Transition = nullptr);
  bool CanGoBack() const;
  // The entry before the current one (the last entry when the shown form did not come from the
  // history); false when there is none.
  bool GoBack(bool DestroyCurrent, TTransitionEffect* Transition = nullptr, TFCFormAlign Align = fcfaDefault,
              TFCBackgroundOptions* BackgroundOptions = nullptr);
  TForm* ActiveForm() const { return FActiveForm; }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int Index) const;  // from 1
  int HistoryCount() const { return static_cast<int>(FHistory.size()); }
  const TFCFormData* History(int Index) const;  // from 1
  // The history position of the shown form (0: it was not shown through the history).
  int HistoryIndex() const { return FHistoryIndex; }
  bool DeleteHistoryEntry(int Index);
  bool Locked() const { return FLocked; }

  TFormChangeEvent OnFormChange;  // before a change; CanChange false cancels it silently
  TFormEvent OnFormCreate;        // after a form was created inside
  TFormEvent OnFormDestroy;       // before a form is destroyed

  // Every form container inside Control (Control included) shows no form any more, innermost
  // first.
  static void CloseNestedContainers(QWidget* Control);

protected:
  bool viewportEvent(QEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

private:
  class TLock;
  void SetActiveForm(TForm* NewForm, bool Destroy);
  void LeaveForm(TForm* Old, bool Destroy);
  void UpdateHistoryOnLeave(TFCFormData* Record, TForm* Old, bool Destroyed);
  void SaveExtraData(TFCFormData& Record, TForm* Form);
  void PlaceActiveForm();
  void UpdateClientSize();
  void FocusAfterChange(TForm* Form, QWidget* Remembered);
  void MergeMenu(TForm* Form, bool Merge);
  void MergeActions(TForm* Form, bool Merge);
  void HookParentFormDestroy();
  TFCFormData* RecordOf(const TForm* Form) const;
  TFCFormData& KnownRecord(const TForm* Form) const;
  void FreeIfUnreferenced(TFCFormData* Record);
  TForm* ParentForm() const;

  TFCBackgroundOptions* FOptions;
  QWidget* FClient;  // holds the forms; transparent, so the viewport's painting shows
  bool FAutoScroll = false;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FFlickerFree = true;
  int FLRUFormCapacity = 20;
  bool FSafeFormDestroy = true;
  bool FSaveLRUDestroyedForms = false;
  bool FLocked = false;
  bool FDestroying = false;
  QPointer<TForm> FActiveForm;
  std::vector<TFCFormData*> FForms;
  std::vector<TFCFormData*> FHistory;
  std::vector<std::unique_ptr<TFCFormData>> FAllFormData;
  int FHistoryIndex = 0;
  int FNavigateIndex = 0;
};

}  // namespace vte
