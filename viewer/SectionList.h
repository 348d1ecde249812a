#pragma once
// The pane's document: a TCell of blocks that also owns the document-wide
// state (default fonts and colours, background, selection, image maps, the
// animation timer). The parser fills it; the pane lays it out (DoLogic),
// draws bands of it (Draw) and asks it about points and positions.
//
// Later layers fill the marked hooks: forms (the form list and the
// show/hide rule for their controls), pictures (the background picture,
// deferred pictures, animated pictures).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Picture.h"
#include "platform/Timer.h"
#include "platform/Ui.h"
#include "viewer/Cell.h"
#include "viewer/Fonts.h"
#include "viewer/ImageMap.h"

namespace quillet {

using TScriptEvent = std::function<void(const std::string& language, std::string script)>;

class TSectionList : public TCell {
 public:
  static constexpr int kAnimationInterval = 50;  // ms
  static constexpr size_t kMaxFontNameLength = 33;

  // ui shows the failures of a block's layout (none: they are dropped
  // silently); timer drives animated pictures (none: a ManualTimer).
  explicit TSectionList(Ui* ui = nullptr, std::unique_ptr<Timer> timer = nullptr);
  ~TSectionList() override;

  // Default font names, size (points; nominal size 12 is this size), text
  // and link colours, character set.
  DocumentFonts Fonts;
  // Whether pictures (and the background picture) are loaded.
  bool ShowImages = false;
  // Background picture from BODY BACKGROUND, and whether loading it was tried.
  std::u16string BitmapName;
  bool BitmapLoaded = false;
  // The selection: a half-open range of cursor positions.
  int SelB = 0;
  int SelE = 0;
  // The scroll position last passed to SetYOffset.
  int YOff = 0;
  // Image maps from MAP elements, in document order.
  std::vector<std::unique_ptr<TMapItem>> MapList;
  // Hook (forms): FormList (owned ThtmlForm objects), FormControlList (all
  // controls in document order, not owned).
  // Hook (pictures): AnimatedGifList (not owned), MissingImageList (deferred
  // sources with the object waiting for each), BackgroundBitmap, and the
  // pane's ImageRequest handler.
  // The pane's OnScript handler, which the parser hands each SCRIPT body
  // (its LANGUAGE and its text, line ends as CR LF, UTF-8) when set.
  TScriptEvent ScriptEvent;

  TColor Background() const { return background_; }
  // Stores the colour and tells OnBackgroundChange.
  void SetBackground(TColor color);
  std::function<void(TSectionList&)> OnBackgroundChange;

  // Empties the document: background picture, forms, selection, maps,
  // deferred pictures and every block.
  void Clear();
  // The defaults (names cut to 33 characters), then every block re-applies
  // them: fonts are rebuilt and fixed blocks rescale on the next layout.
  void SetFonts(const std::u16string& name, const std::u16string& preName, TColor background,
                TColor hotSpotColor, TColor fontColor, int size);
  void SetBackgroundBitmapName(const std::u16string& name);
  // The background picture, fetched the first time it is asked for while
  // ShowImages is on. Hook (pictures): nothing is fetched yet; returns none.
  const Picture* GetBackgroundBitmap();

  // Layout of the whole document (stops the animation timer meanwhile).
  int DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth) override;
  // Counts the document's layouts: what blocks measure during one (a
  // table's cell widths) is measured once and reused within it.
  unsigned LayoutGeneration() const { return layoutGeneration_; }
  // Drawing of a band of it (ClipRect in document coordinates).
  int Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth) override;
  // The scroll position; a change marks form controls for placing again.
  void SetYOffset(int Y);
  // The timer's tick: animated pictures drawn in the last paint advance.
  void AnimationStep();
  Timer& AnimationTimer() { return *timer_; }

  // Sum of the heights of the first n blocks (n at most the count - 1; 0
  // below 1): the offset of block n from the document's top.
  int GetSectionYPos(int n) const;

  // For TCell: a block's layout failed with this message.
  void ShowProcessError(const std::string& text);
  // For TCell: a dropped block lives on until Clear, so that pointers others
  // keep to it (anchors) stay valid.
  void KeepDropped(std::unique_ptr<TSectionBase> block) { dropped_.push_back(std::move(block)); }

 private:
  Ui* ui_;
  std::unique_ptr<Timer> timer_;
  TColor background_ = clBtnFace;
  // Set by a scroll; the next paint places the form controls again.
  bool controlsToPlace_ = false;
  unsigned layoutGeneration_ = 0;
  std::vector<std::unique_ptr<TSectionBase>> dropped_;
};

}  // namespace quillet
