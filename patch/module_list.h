// A module list holds the modules of one patch, keyed by module name: the structure of a sound,
// the inside of a macro, or (restricted) the panel items of a sound's Panel tab. Saving and
// loading are the generic list operations with a factory that creates modules by type name.
// The list also carries every editing operation of its canvas (selection, dragging, alignment,
// creation, groups, cut, copy, paste, delete) and the numbered commands and menu queries through
// which the main window drives it; each structural change is an undoable action filed with the
// list's own history. Its change channel tells the views what changed. The operations are split
// by job into module_list_commands.cpp, module_list_selection.cpp, module_list_clipboard.cpp and
// module_list_drags.cpp.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "edit/action_manager.h"
#include "edit/rubber_band.h"
#include "patch/canvas_interface.h"
#include "patch/list_changes.h"
#include "patch/modul.h"
#include "patch/patch_host.h"
#include "persist/callbacks.h"
#include "persist/prop_list.h"

// Edit commands and menu queries of a module list.
enum TEditCommand : int {
  kCommandRedo = 1,
  kCommandUndo = 2,
  kCommandCut = 3,
  kCommandCopy = 4,
  kCommandDelete = 5,
  kCommandSelectAll = 6,
  kCommandPaste = 7,
  kQueryModuleCount = 8,
  kQueryMarkedCount = 9,
  kCommandAlignGrid = 10,
  kCommandAlignLeft = 11,
  kCommandAlignTop = 12,
  kCommandAlignRight = 13,
  kCommandAlignBottom = 14,
  kCommandSaveGroup = 15,
  kCommandModuleDialog = 16,
};

enum class TAlignMode { Grid, Left, Top, Right, Bottom };

// Canvas mouse modes.
enum TCanvasMouseMode : int { kCanvasRubberBand = 0, kCanvasPanning = 1 };

class TModuleListe : public TPropTypListChild, public TPatchHost {
 public:
  TModuleListe();

  // 5 tells the views that the colours changed, 7 forgets the undo history.
  bool Notify(int code, int arg, void* data) override;

  // The views of the list subscribe here.
  TListChanges& Changes() { return changes_; }

  TModul* ModuleAt(const std::string& key) const override;
  std::string ModuleKey(const TModul& module) const override { return KeyOf(&module); }
  std::string FreeModuleKey(const std::string& base) const override { return UniqueKey(base); }
  TEingang* InputAt(const std::string& module, const std::string& port) const override;
  TAusgang* OutputAt(const std::string& module, const std::string& port) const override;
  std::vector<TEingang*> InputsFedBy(const TAusgang& output) const override;
  TRPointer<TModul> NewModule(const std::string& typeName) override;
  void InsertModule(const std::string& key, TRPointer<TModul> module) override;
  bool TakeOutModule(const std::string& key) override;
  void RecordAction(TRPointerAction action) override {
    ActionManager.RecordAction(std::move(action));
  }
  void MarkDocumentChanged() override;
  void Announce(const SListChange& change) override;

  // A new, empty list of the same kind (temporary lists while pasting and copying).
  virtual TRPointer<TModuleListe> CreateEmpty() const;
  // The child factory. This list takes only the panel items "ViewFader", "ViewText" and
  // "VolumeView"; a created module has this list as its parent.
  virtual TRPointer<TPropTypList> CreateModule(const std::string& typeName, bool& queryOnly);
  // Deletes `modules` (a list sharing them) as one undoable step "delete modules"; with
  // `prepareOnly` the step is returned instead, neither executed nor filed.
  virtual TRPointerMacroAction DeleteModules(const TPropTypList& modules, bool prepareOnly);
  // Menu state of a command; `caption` receives the undo and redo hints.
  virtual int QueryCommand(int code, std::string& caption);
  // Moves a module to a free key; false when `newKey` is in use.
  virtual bool RenameModule(const std::string& oldKey, const std::string& newKey);

  // Runs an edit command; `argument` is the file name of kCommandSaveGroup.
  void ExecuteCommand(int code, const std::string& argument = {});

  // The list is shown on `canvas`, editable unless `mode` is kPanelSample: every module is told
  // (CreatePanel); a null canvas ends the showing (`mode` then tells whether only the window
  // closes).
  void SetView(TModuleCanvasInterface* canvas, int mode);
  // The hook a canvas calls when it goes: when it is the one that shows this list, the showing
  // ends (the modules stay) and Canvas is cleared, so that nothing calls the canvas later.
  void ReleaseCanvas(const TModuleCanvasInterface& canvas);
  int HorizontalScroll() const override { return Canvas ? Canvas->HorizontalScroll() : 0; }
  int VerticalScroll() const override { return Canvas ? Canvas->VerticalScroll() : 0; }

  void UnmarkAll() override;
  // Selection by rectangle, in canvas client coordinates: a marked module stays marked while it
  // overlaps the rectangle (or `keep` is set); an unmarked one becomes marked when it lies wholly
  // inside. (-1, -1, -1, -1) without keep unmarks everything.
  void MarkInRect(int left, int top, int right, int bottom, bool keep);
  // Shares every marked (mode 0) or unmarked (mode 1) module into `target` under its key.
  void CollectMarked(TPropTypList& target, int mode) const;
  // Union of the rectangles of the marked (or unmarked) modules.
  TRect BoundsOfMarked(bool marked) const;
  int MarkedCount() const;
  void MoveMarked(const TPropTypList& selection, int dx, int dy);
  // Without `compound`: files a "move modules" step for modules already moved by (dx, dy).
  // With one: appends the moves still to be made to it.
  void RecordMove(const TPropTypList& selection, int dx, int dy, TMacroAction* compound);
  void Align(TAlignMode mode);
  // Creates a module of `typeName` at (x, y), snapped to the grid, as an undoable step; with
  // `prepareOnly` the step is returned instead. Unknown types change nothing.
  TRPointerAction CreateModuleAt(const std::string& typeName, const std::string& key, int x, int y,
                                 bool prepareOnly);
  // Inserts a group file with its modules' common top-left corner at (x, y); false when the
  // file cannot be read, with `error` naming the file and the fault.
  bool InsertGroupFile(const std::string& fileName, int x, int y, std::string& error);
  bool InsertGroupFile(const std::string& fileName, int x, int y) {
    std::string error;
    return InsertGroupFile(fileName, x, y, error);
  }
  // Adds the modules of a text stream; returns how many, 0 when it holds none, or -1 when it
  // cannot be read. Without `compound` the step is filed as "create modules".
  int Paste(std::istream& in, TMacroAction* compound);
  // Writes the marked modules as text; false (and nothing written) when none is marked.
  bool CopyToStream(std::ostream& out) const;
  bool CopyToClipboard();

  // Dragging modules by their title bars; coordinates are title-bar client coordinates.
  void BeginTitleDrag(TModul& module, bool shift, int x, int y);
  void TitleDrag(TModul& module, int x, int y);
  void EndTitleDrag(TModul& module);
  // Rubber band (kCanvasRubberBand) and panning (kCanvasPanning); canvas client coordinates.
  void CanvasMouseDown(int mode, bool shift, int x, int y);
  void CanvasMouseMove(bool shift, int x, int y);
  void CanvasMouseUp();

  // The undo history changed: the document is modified and the menus need an update.
  void HistoryChanged();
  // Re-validates the owning document's patch, restarting a running engine when `restart`.
  void RestartDocument(bool restart) override;

  TActionManager ActionManager;
  // Installed by the main window; called with 0 whenever menu states may have changed.
  TAMsgAllCallback StateCallback;
  // The other list of the same sound or macro (structure and panel items), not owned.
  TModuleListe* PartnerList = nullptr;
  // The canvas that shows the modules, not owned; null while not shown.
  TModuleCanvasInterface* Canvas = nullptr;

 protected:
  // Modules of the list in key order.
  std::vector<TModul*> Modules() const;
  std::vector<TModul*> Modules(const TPropTypList& selection) const;

 private:
  // A title-bar drag in progress on this list.
  struct STitleDrag {
    bool active = false;
    TPoint grip;   // the press point in title-bar coordinates
    TPoint start;  // the dragged module's absolute position at the press
    TPropTypList selection;
  };
  // A rubber band or panning in progress on this list's canvas.
  struct SCanvasDrag {
    int mode = -1;
    TPoint last;
    std::unique_ptr<TGummiband> band;
  };

  void NotifyState() { StateCallback.Call(0, 0, 0); }
  TRect AbsoluteRect(const TModul& module) const;
  void SaveMarkedAsGroup(const std::string& fileName);
  void PasteFromClipboard();
  void RenameCollisions(TModuleListe& pasted);
  // Puts `module` into the list under `key`, not yet shown or announced.
  void Adopt(const std::string& key, TRPointer<TModul> module);
  // Shows the module under `key` as the list is shown, then tells the views that it came.
  void ShowAdded(const std::string& key);
  // Tells a module it is shown as the list is.
  void Show(TModul& module);

  bool editable_ = true;
  TListChanges changes_;
  STitleDrag titleDrag_;
  SCanvasDrag canvasDrag_;
};

// The list that holds `module`, or null.
TModuleListe* OwnerList(const TModul& module);

// The structure of a sound or macro: takes every registered module type (a sound's structure
// list refuses the macro input and output types) and deletes modules together with the wires
// that leave them.
class TModuleListeArbeiten : public TModuleListe {
 public:
  TRPointer<TModuleListe> CreateEmpty() const override;
  TRPointer<TPropTypList> CreateModule(const std::string& typeName, bool& queryOnly) override;
  TRPointerMacroAction DeleteModules(const TPropTypList& modules, bool prepareOnly) override;
  int QueryCommand(int code, std::string& caption) override;
  bool RenameModule(const std::string& oldKey, const std::string& newKey) override;

  // Set on a sound's structure list: the macro input and output types live only in macros.
  bool refusesMacroPorts = false;
};
