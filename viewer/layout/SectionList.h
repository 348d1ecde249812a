#pragma once
// The pane's document: a TCell of blocks that also owns the document-wide
// state (default fonts and colours, background, selection, image maps, the
// animation timer). The parser fills it; the pane lays it out (DoLogic),
// draws bands of it (Draw) and asks it about points and positions.
//
// What the document asks of the pane (messages, timer, repaints, forms,
// pictures, scripts) goes through its host (viewer/layout/DocumentHost.h).
//
// Forms: the document holds its forms (DocumentForms) and is their
// FormHost, handing on to its host's FormHost; without one (rendered
// pictures, tests, fuzzing) the controls are in-memory ones and nothing is
// submitted. Every layout sizes the controls, every paint places
// those it shows, and the rest are hidden or, while the focus is in one of
// them, kept out of view (DocumentForms::ShowOrHide).
//
// Animated pictures step on the document's timer
// (viewer/layout/SectionListAnimation.cpp).
//
// Pictures: the document fetches them through the image cache its host
// hands it (SetImageCache; one cache for all panes of a process), from the
// host's image source when set, else from the host's picture files (none:
// no file is read), their names made full paths by the host first. See
// viewer/images/ImageCache.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Picture.h"
#include "platform/Timer.h"
#include "viewer/forms/Forms.h"
#include "viewer/forms/ScriptedFormWidgets.h"
#include "viewer/images/ImageCache.h"
#include "viewer/layout/Cell.h"
#include "viewer/layout/DocumentHost.h"
#include "viewer/layout/ImageMap.h"
#include "viewer/style/Fonts.h"

namespace quillet {

class TImageObj;

class TSectionList : public TCell {
 public:
  static constexpr int kAnimationInterval = 50;  // ms
  static constexpr size_t kMaxFontNameLength = 33;

  // The host answers what the document asks (none: its own callbacks,
  // headless until set); it outlives the document or is replaced first.
  explicit TSectionList(DocumentHost* host = nullptr);
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

  // --- Forms ---
  // The forms (FormList, owned) and their controls in document order
  // (FormControlList).
  DocumentForms& Forms() { return forms_; }
  const DocumentForms& Forms() const { return forms_; }
  // A scroll or a layout left the controls to be placed by the next paint,
  // which must then paint the whole visible page.
  bool ControlsToPlace() const { return controlsToPlace_; }

  // --- Pictures ---
  // The animated pictures on the page, in the order they were loaded (owned
  // by their images, which add themselves). The timer steps only those
  // drawn and still on the screen, and repaints each changed one's
  // rectangle through the host (RepaintAnimation). A page of thousands of animated
  // pictures thus costs a flag test per picture and tick, and a step only
  // for the few in view.
  std::vector<TGIFImage*> AnimatedGifList;
  // Pictures the host will deliver later (its image source answered with
  // the wait stream): the source's cache key and the image waiting for it
  // (none for the background picture). Nothing replaces them yet.
  struct TMissingImage {
    std::u16string Name;
    TImageObj* Image = nullptr;
  };
  std::vector<TMissingImage> MissingImageList;
  bool IsAwaited(const std::u16string& key) const;
  // The host (the document's own callbacks when it was given none), and
  // a new one; none: the own callbacks again. The new host's timer is not
  // asked for: the document keeps the one it was made with.
  DocumentHost& Host() const { return *host_; }
  void SetHost(DocumentHost* host) { host_ = host ? host : &callbacks_; }
  // The document's own callbacks, for tests and renderings.
  DocumentCallbacks& Callbacks() { return callbacks_; }
  // A picture's source as the file name to fetch it by: made a path by the
  // host when pictures come from files.
  std::u16string PictureName(const std::u16string& source) const;

  // The cache pictures are fetched through; a document given none keeps one
  // of its own.
  void SetImageCache(std::shared_ptr<TStringBitmapList> cache);
  TStringBitmapList& ImageCache() const { return *imageCache_; }
  // The picture of a source, from the cache, the host or a file, within
  // the document's picture budget.
  TFetchedImage FetchImage(std::u16string_view source, bool corner);
  // What this document's pictures hold; Clear starts it again.
  TPictureBudget& PictureBudget() { return pictureBudget_; }

  TColor Background() const { return background_; }
  // Stores the colour and tells the host.
  void SetBackground(TColor color);

  // Empties the document: background picture, forms, selection, maps,
  // deferred pictures and every block.
  void Clear();
  // The defaults (names cut to 33 characters), then every block re-applies
  // them: fonts are rebuilt and fixed blocks rescale on the next layout.
  void SetFonts(const std::u16string& name, const std::u16string& preName, TColor background,
                TColor hotSpotColor, TColor fontColor, int size);
  void SetBackgroundBitmapName(const std::u16string& name);
  // The background picture, fetched the first time it is asked for while
  // ShowImages is on (the pane asks after each load and when pictures are
  // turned on); none when there is no still picture of that name (an
  // animated one is not used).
  const Picture* GetBackgroundBitmap();
  // The background picture fetched so far, without fetching.
  const Picture* BackgroundBitmap() const { return backgroundBitmap_.get(); }
  // Paints the page under the document in area: filled with Background(),
  // then, when pictures are shown, the background picture tiled over it
  // with one tile's top-left corner at tileOrigin (the document's top-left
  // as painted, so that the pattern scrolls with the text).
  void PaintBackground(Canvas& canvas, const Rect& area, Point tileOrigin) const;

  // Layout of the whole document (stops the animation timer meanwhile);
  // afterwards every animated picture starts again at its first frame.
  int DoLogic(Canvas& canvas, int Y, int Width, int& Curs, int& MaxWidth) override;
  // Counts the document's layouts: what blocks measure during one (a
  // table's cell widths) is measured once and reused within it.
  unsigned LayoutGeneration() const { return layoutGeneration_; }
  // Drawing of a band of it (ClipRect in document coordinates). An animated
  // picture whose last box meets the band counts as drawn only if this
  // paint draws it again; one outside keeps its mark, as its pixels stay
  // on the screen. The timer runs afterwards while a drawn picture animates.
  int Draw(Canvas& canvas, const Rect& ClipRect, int Y, int X, int ClipWidth) override;
  // The scroll position; a change marks form controls for placing again.
  void SetYOffset(int Y);
  // The timer's tick: animated pictures drawn since they were last painted
  // over take a step; the timer stops when none of them animates any more.
  void AnimationStep();
  // The view moved (a scroll): no picture counts as drawn until a paint
  // draws it again. The pane then paints the whole panel.
  void ForgetAnimationDraws();
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
  // The animation's parts of DoLogic and Draw (SectionListAnimation.cpp).
  void RestartAnimations();
  void ForgetAnimationDrawsIn(const Rect& clip);
  void ResumeAnimationTimer();

  // What the forms ask of the document: handed on to the pane's host.
  class DocumentFormHost : public FormHost {
   public:
    explicit DocumentFormHost(TSectionList& doc) : doc_(doc) {}
    FormWidgetFactory& Widgets() override {
      FormHost* pane = Pane();
      return pane ? pane->Widgets() : headless_;
    }
    std::u16string PreFontName() const override { return doc_.Fonts.PreFontName; }
    bool HasSubmitHandler() const override {
      FormHost* pane = Pane();
      return pane && pane->HasSubmitHandler();
    }
    void SubmitForm(TFormSubmission submission) override;
    void ObjectClick(TFormControlObj& control, const std::u16string& onClick) override;
    void ControlEntered(TFormControlObj& control) override;
    void ControlExited(TFormControlObj& control) override;

   private:
    FormHost* Pane() const { return doc_.host_->FormsHost(); }

    TSectionList& doc_;
    ScriptedFormWidgets headless_;
  };

  DocumentCallbacks callbacks_;
  DocumentHost* host_;
  std::unique_ptr<Timer> timer_;
  TColor background_ = clBtnFace;
  // Set by a scroll or a layout; the next paint places the form controls
  // again.
  bool controlsToPlace_ = false;
  // Before the forms: their controls go first.
  DocumentFormHost formHost_{*this};
  DocumentForms forms_{formHost_};
  unsigned layoutGeneration_ = 0;
  std::vector<std::unique_ptr<TSectionBase>> dropped_;
  std::shared_ptr<TStringBitmapList> imageCache_;
  TPictureBudget pictureBudget_;
  std::shared_ptr<const Picture> backgroundBitmap_;
  TCacheLease backgroundLease_;
};

}  // namespace quillet
