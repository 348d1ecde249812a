#include "viewer/layout/IndentManager.h"

#include <algorithm>

namespace quillet {

namespace {

bool Holds(const IndentRec& r, int y) { return r.YT <= y && y < r.YB; }

}  // namespace

void IndentManager::Reset() {
  L.clear();
  R.clear();
  Level = 0;
  CurrentID = kNoID;
  leftFloatBottom_ = 0;
  rightFloatBottom_ = 0;
  hasLeftFloat_ = false;
  hasRightFloat_ = false;
}

void IndentManager::Init(int lf, int rt) {
  LfEdge = lf;
  RtEdge = rt;
  CurrentID = kNoID;
}

int IndentManager::LeftIndent(int y) const {
  int x = 0;
  for (const IndentRec& r : L)
    if (Holds(r, y) && r.X > x) x = r.X;
  return LfEdge + x;
}

int IndentManager::RightSide(int y) const {
  int x = 0;
  for (const IndentRec& r : R)
    if (Holds(r, y) && r.X < x) x = r.X;
  return RtEdge + x;
}

int IndentManager::AddFloat(int y, FloatSide side, int width, int height, int hspace) {
  const int bottom = y + std::max(height, 0);
  if (side == FloatSide::Left) {
    const int x = LeftIndent(y) - LfEdge;
    L.push_back({x + width + hspace, y, bottom, kNoID});
    leftFloatBottom_ = hasLeftFloat_ ? std::max(leftFloatBottom_, bottom) : bottom;
    hasLeftFloat_ = true;
    return x;
  }
  const int x = RightSide(y) - RtEdge - (width + hspace);
  R.push_back({x, y, bottom, kNoID});
  rightFloatBottom_ = hasRightFloat_ ? std::max(rightFloatBottom_, bottom) : bottom;
  hasRightFloat_ = true;
  // The float's left end, relative to LfEdge.
  return RtEdge + x + hspace - LfEdge;
}

int IndentManager::ImageBottom() const {
  int bottom = 0;
  if (hasLeftFloat_) bottom = std::max(bottom, leftFloatBottom_);
  if (hasRightFloat_) bottom = std::max(bottom, rightFloatBottom_);
  return bottom;
}

IndentManager::ClearY IndentManager::GetClearY() const {
  // Floats already forgotten still count: their bottoms are kept.
  return {hasLeftFloat_ ? leftFloatBottom_ + 1 : 0, hasRightFloat_ ? rightFloatBottom_ + 1 : 0};
}

void IndentManager::SetLevel(int y, int n) {
  Forget(y);
  if (n > Level) {
    for (int level = Level + 1; level <= n; ++level)
      L.push_back({LeftIndent(y) - LfEdge + kLevelIndent, y, kOpenBand, level});
  } else if (n < Level) {
    // Closed levels end above y; they would never apply again.
    std::erase_if(L, [n](const IndentRec& r) { return r.ID != kNoID && r.ID > n; });
  }
  Level = n;
}

int IndentManager::NextLevelBottom() const {
  if (CurrentID == kNoID) return 0;
  const auto own = std::find_if(L.begin(), L.end(), [this](const IndentRec& r) { return r.ID == CurrentID; });
  if (own == L.end()) return 0;
  int bottom = 0;
  for (const IndentRec& r : L)
    if (r.X > own->X && r.YB != kOpenBand) bottom = std::max(bottom, r.YB + 1);
  return bottom;
}

void IndentManager::MoveBy(int dy) {
  for (auto* side : {&L, &R})
    for (IndentRec& r : *side) {
      r.YT += dy;
      if (r.YB != kOpenBand) r.YB += dy;
    }
  leftFloatBottom_ += dy;
  rightFloatBottom_ += dy;
}

void IndentManager::Forget(int y) {
  const auto ended = [y](const IndentRec& r) { return r.YB <= y; };
  std::erase_if(L, ended);
  std::erase_if(R, ended);
}

}  // namespace quillet
