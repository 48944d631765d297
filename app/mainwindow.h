// SPDX-License-Identifier: MIT
#pragma once

#include "app/inifile.h"
#include "app/simulationrun.h"
#include "catalogue/catalogueui.h"
#include "document/schematicdocument.h"
#include "editor/options.h"
#include "ui/windowregistry.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class NavigatorHandle;
class NavigatorPanel;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMimeData;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeView;

class TFrame2;
struct TLoadResult;
class ElementPicture;
class PointerState;
class WireGesture;
class QMouseEvent;
class QWheelEvent;

// The main window. It owns the schematic document and every other window of the program; its
// handlers turn menu, toolbar and navigator events into edits of the document (or, for what is no
// edit, operations on the model and the views) and follow the document's changes on screen.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `programDir` is the folder holding config/ and bases/ (the executable's folder by default).
    explicit TForm1(const QString& programDir = QString(), QWidget* parent = nullptr);
    ~TForm1() override;

    // Creates the other fourteen windows in start-up order (settings, catalogue, time scale,
    // generator, oscilloscopes); CreatedWindows lists all fifteen in that order.
    void CreateWindows();

    // The schematic of the document; changes other than selection go through document().
    Schematic& model() { return document_->schematic(); }
    SchematicDocument& document() { return *document_; }
    TOptions& options() { return options_; }
    const QString& programDir() const { return programDir_; }

    // Until the first activation the window with its frame fills `area` (the desktop's work area);
    // the frame's size is known once the window system has framed the window, so the fit is made
    // again whenever the window moves or resizes until then.
    void FillWorkArea(const QRect& area);

    // Options.
    void InitCfg();
    bool SaveCfg(); // false (after the error box) when a write failed
    // The interface language chosen in the settings ("ru", "en"; empty: none chosen), written by
    // SaveCfg and followed at the next start.
    const QString& languageChoice() const { return languageChoice_; }
    void SetLanguageChoice(const QString& code) { languageChoice_ = code; }
    void DesktopSetup();

    // Navigator: selection follows a click, a double click places the listed element, "Удалить"
    // removes the elements of the current node.
    void TreeView1Click();
    void TreeView1DblClick();
    void Button5Click();

    // Re-route and redraw.
    void Button4Click();

    // Schematic files: "Сохранить как...", "Открыть..." and "Новый". The first two show their
    // file dialog and hand the chosen name to SaveSchematic or LoadSchematic. "Открыть..." and
    // "Новый" first ask what to do with unsaved changes.
    void Button6Click();
    void Button7Click();
    void Button8Click();
    // "Сохранить": saves to the file set of the schematic, or as "Сохранить как..." when it has
    // none yet. False when nothing was saved.
    bool SaveCurrent();
    // Saves to the file set of `chosen`, which becomes the schematic's file set; false after the
    // error box.
    bool SaveSchematic(const QString& chosen);
    // Loads the file set of `chosen` in place of the schematic on screen; false after the error box.
    // Elements that could not be placed and other data left out are listed in a warning box.
    bool LoadSchematic(const QString& chosen);
    // With unsaved changes asks «Сохранить изменения в схеме?»: "Да" saves (true once saved),
    // "Нет" gives them up (true), "Отмена" keeps them (false). True at once without changes.
    bool MayDiscardChanges();
    // The file set the schematic was last opened from or saved to, empty for none.
    const QString& currentFile() const { return currentFile_; }
    // What placing the listed `node` needs: the built-in set-up of a special element, a chip
    // element's data from the catalogue. False with the message for the user.
    bool PlacementFor(const QStandardItem* node, TPlacementData* data, QString* error);

    // Adds an element to the schematic, or refuses with a message when the table is full
    // (returns 0).
    int AddElementOrWarn(TElement e);
    // The box that says the element table is full.
    void WarnTableFull();

    QList<QWidget*> CreatedWindows;
    // The program's windows by class (the catalogue windows find each other there too).
    WindowRegistry& windows() { return windows_; }
    template <class T> T* window() const { return windows_.get<T>(); }

    // Menu actions and controls, named by their captions.
    QMenu* MenuFile = nullptr;
    QMenu* MenuEdit = nullptr;
    QMenu* MenuScheme = nullptr;
    QMenu* MenuSpecial = nullptr;
    QMenu* MenuBases = nullptr;
    QAction* ActNew = nullptr;
    QAction* ActOpen = nullptr;
    QAction* ActSave = nullptr;
    QAction* ActSaveAs = nullptr;
    QAction* ActExport = nullptr;
    QAction* ActPrint = nullptr;
    // "Экспорт...": the export dialog for the schematic as shown; "Печать...": the print dialog.
    void ExportClick();
    void PrintClick();
    QAction* ActSettings = nullptr;
    QAction* ActExit = nullptr;
    QAction* ActUndo = nullptr;
    QAction* ActRedo = nullptr;
    QAction* ActSelectAll = nullptr;
    QAction* ActDeselect = nullptr;
    QAction* ActInvert = nullptr;
    QAction* ActAddChip = nullptr;
    QAction* ActAddIndicator = nullptr;
    QAction* ActAddSwitch = nullptr;
    QAction* ActDeleteSelected = nullptr;
    QAction* ActOscilloscopes = nullptr;
    QAction* ActSchemeControl = nullptr;
    QAction* ActPictures = nullptr;
    QAction* ActElements = nullptr;
    QAction* ActChipPictures = nullptr;
    QAction* ActChips = nullptr;

    QToolButton* ToolButtonNew = nullptr;
    QToolButton* ToolButtonOpen = nullptr;
    QToolButton* ToolButtonSave = nullptr;
    QToolButton* ToolButtonUndo = nullptr;
    QToolButton* ToolButtonRedo = nullptr;
    QToolButton* ToolButton6 = nullptr; // run
    QToolButton* ToolButton7 = nullptr; // stop
    QToolButton* ToolButton8 = nullptr; // pause
    QComboBox* ComboBox1 = nullptr;     // zoom
    QToolButton* ToolButton9 = nullptr; // time scale window
    QToolButton* ToolButton1 = nullptr; // oscilloscopes

    // The template picture of the element handlers: hidden under the toolbar, tag 0, ignored.
    ElementPicture* Image1 = nullptr;
    // "Destroy" (Button2Click): deletes the selected elements and nothing else; hidden under the
    // toolbar like the template picture.
    QPushButton* DestroyButton = nullptr;

    NavigatorPanel* NavPanel = nullptr;
    // Drags the navigator panel wider or narrower; the width is kept in the settings file.
    NavigatorHandle* NavHandle = nullptr;
    TFrame2* Frame21 = nullptr;
    PointerState* Pointer = nullptr;
    QLabel* StatusPanel = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;

    // Workspace: zoom, wheel, hover.
    void ComboBox1Change();
    // Toggles all routed wires on the surface (exclusive or).
    void DrawField();
    // Follows a change of the document: the wires and the routing log, the net count, the tips.
    void DocumentChanged(SchematicDocument::Changes what);
    // Each element's picture tells its name and, for a chip element, the chip's marking.
    void ShowElementTips();

    // "Отменить" and "Повторить", each naming the step it takes.
    void UndoClick();
    void RedoClick();
    void UpdateUndoActions();
    // Re-places and re-sizes every element picture after a change of Scale.
    void RepaintElements();
    // Wheel over the workspace: scrolls it by delta div 8 (Shift: horizontally), with Ctrl zooms
    // one step of the zoom list; consumes it.
    void FormMouseWheel(QWheelEvent* event);
    // Zooms `steps` entries along the zoom list keeping the field point under `viewportPoint`
    // (workspace viewport pixels) in place.
    void ZoomAt(QPoint viewportPoint, int steps);
    // A middle-button drag pans the workspace; each returns true when it took the event.
    bool PanPress(QMouseEvent* event);
    bool PanMove(QMouseEvent* event);
    bool PanRelease(QMouseEvent* event);
    // Pointer events of the surface and of the element pictures, handed to Pointer; the surface
    // move ends with hover tracking.
    void Frame21Image1MouseDown(QMouseEvent* event);
    void Frame21Image1MouseMove(QMouseEvent* event);
    void Frame21Image1Click();
    void Frame21Image1MouseUp(QMouseEvent* event);
    void Image1MouseDown(ElementPicture* picture, QMouseEvent* event);
    void Image1MouseMove(ElementPicture* picture, QMouseEvent* event);
    void Image1MouseUp(ElementPicture* picture, QMouseEvent* event);
    // Surface pixel (x, y): HoverNet follows the net at the nearest grid point.
    void TrackHover(int x, int y);
    // Toggles the selection band from the band anchor to `corner` (surface pixels).
    void DrawSelectionRectangle(QPoint corner);
    // Toggles the marker on one leg of the element that `picture` shows.
    void DrawLegMarker(ElementPicture* picture, int leg);
    // Hooks the workspace's pointer and wheel events to the handlers above.
    void ConnectWorkspace();

    // Wiring with the pointer: the wire drag's feedback lives in Wire; its release joins the
    // source pin to the wire's net and to the pin under the pointer.
    WireGesture* Wire = nullptr;
    void WireDragRelease(ElementPicture* source, QPoint p);
    // A right press on a connected pin arms the pin menu, on the surface over a wire the wire
    // menu; the menu pops up at the right release, as the platform's context menus do there.
    void PictureRightPress(ElementPicture* picture, int leg);
    void SurfaceRightPress(QPoint p);
    QMenu* PinMenu = nullptr; // "Отсоединить"
    QAction* N26 = nullptr;
    QMenu* WireMenu = nullptr; // "Удалить все соединение"
    QAction* N25 = nullptr;
    // A right click on an element away from its pins: "Копировать", "Вырезать", "Удалить" (an
    // element outside the selection becomes the selection) and the double click's command of a
    // switch, generator or probe; on the field away from wires: "Вставить", "Выделить все".
    QMenu* ElementMenu = nullptr;
    QAction* ElementCopy = nullptr;
    QAction* ElementCut = nullptr;
    QAction* ElementDelete = nullptr;
    QAction* ElementAction = nullptr;
    QMenu* SpaceMenu = nullptr;
    QAction* SpacePaste = nullptr;
    QAction* SpaceSelectAll = nullptr;
    void N26Click(); // disconnects the pin of the pin menu
    void N25Click(); // removes the net under the pointer
    // HoverNet := n, redrawing the wires when the highlight shows it.
    void SetHoverNet(int n);

    // Keys: Delete, Ctrl+A, the arrows in the workspace, Esc, F10; placed elements land in view.
    void ConnectKeys();
    QAction* ActCancelGesture = nullptr; // Esc
    QAction* ActMenuKey = nullptr;       // F10
    // Moves the selected elements by (dx, dy) cells as one step; the whole selection stays on the
    // field or nothing moves. False without a selection.
    bool NudgeSelection(int dx, int dy);
    // The top-left grid cell wholly in view.
    TPoint32 VisibleTopLeftCell() const;

    // The clipboard: "Копировать", "Вырезать", "Вставить" (Ctrl+C, Ctrl+X, Ctrl+V). A paste puts
    // the part's top-left cell under the pointer when it is over the workspace, else beside the
    // originals.
    static const QString ClipMimeType;
    QAction* ActCopy = nullptr;
    QAction* ActCut = nullptr;
    QAction* ActPaste = nullptr;
    void CopyClick();
    void CutClick();
    void PasteClick();
    // The selection as clipboard data, null without a selection.
    QMimeData* CopiedSelection();
    // Pastes clipboard data at grid cell `at` (none: beside the originals); false when nothing
    // was pasted (after a message when the data or the schematic does not allow it).
    bool PasteMime(const QMimeData* mime, std::optional<TPoint32> at);
    static bool ClipboardHasPart();
    // The grid cell under the pointer when it is over the visible workspace.
    std::optional<TPoint32> PointerCell() const;

    void N3Click(); // select all
    void N4Click(); // deselect
    void N5Click(); // invert the selection
    // Deletes the selected elements, re-links the navigator to the slots, re-routes.
    void N7Click();
    // The name of a step of the history in the menu ("соединение", "удаление", ...).
    static QString StepName(StepKind kind);
    void Button2Click(); // "Destroy": deletes the selected elements only

    // Simulation.
    void ToolButton6Click();
    void ToolButton7Click();
    void ToolButton8Click();
    void ToolButton9Click();
    // Asks a running simulation to stop (closing the main window).
    void RequestSimulationStop();
    SimulationRun& simulationRun() { return *run_; }
    // The simulator of the model; editing commands call its PrepareRun.
    Simulator& simulator() { return run_->simulator(); }

    // Special elements: the double click on the picture of a switch, a generator or a probe; the
    // oscilloscope window ("Осцилографы" and its toolbar button: nothing without a listed probe);
    // the oscilloscope window's list made anew (after a schematic is loaded).
    void Image1DblClick(ElementPicture* picture);
    void N15Click();
    void RefreshProbeList();

private:
    // True (once) for the release that ends a double click that had a reaction: it is no click.
    bool ReleaseEndsDoubleClick(const ElementPicture* picture);
    void ConnectSpecialElements();
    const ElementPicture* doubleClicked_ = nullptr;
    void RedrawOscilloscope();
    void ShowRunState(bool running);
    SimulationRun* run_ = nullptr;

public:
    // Shows the program's window of class T as a modal dialog, when it exists.
    template <class T> void ShowModal() {
        if (T* w = window<T>()) w->exec();
    }
    // The catalogue tables and windows' shared state, made on first use with programDir()/bases.
    CatalogueUi& catalogueUi();

Q_SIGNALS:
    // After a deletion by N7Click, before its re-route: the navigator's placed nodes have just been
    // re-linked to the element slots.
    void navigatorRelinked();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ConnectWiring();
    void ShowPendingMenu(QPoint global);
    QMenu* pendingMenu_ = nullptr;
    int menuElement_ = 0;
    std::optional<TPoint32> menuCell_;
    bool panning_ = false;
    QPoint panFrom_;
    QPoint panScroll_;
    // From a context menu's popping up until its command has run: the pointer's leaving the
    // workspace for the menu keeps the net under it.
    bool contextMenuOpen_ = false;

    void FormCreate();
    // The settings file, read at the first showing (made here when the options are written first).
    IniFile& ConfigFile();
    // Writes the options at the close; when the file cannot be written, asks whether to close
    // without them. False: the window stays open.
    bool SaveCfgOnClose();
    void FormShow();
    void FormActivate();
    void BuildMenu();
    void BuildToolbar();
    void ConnectNavigator();
    void ConnectFiles();
    // The box after a load that lists the elements it could not place and counts what else it left out.
    void WarnLoadProblems(const TLoadResult& r);

    QString programDir_;
    std::unique_ptr<SchematicDocument> document_;
    QString currentFile_;
    TOptions options_;
    QString languageChoice_;
    WindowRegistry windows_;
    std::unique_ptr<IniFile> Config;
    bool shown_ = false;
    bool fillWorkArea_ = true;
    QRect workArea_;
    void FitFrameToWorkArea();
    // Declared last, so destroyed first: it deletes the catalogue windows while the registry and
    // the model they use still exist.
    std::unique_ptr<CatalogueUi> catalogueUi_;
};
