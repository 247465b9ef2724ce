#pragma once

// The in-memory tables that several subsystems share through AppState: the start order
// that the start side builds (the lists print it, live timing sends it) and the hand times
// loaded from a timing device or a file (the takeover computes from them).

#include <QString>

#include <vector>

namespace kx {

// One participant of a start order. Entries form a singly linked list over their indexes:
// entry 0 is the list head (only `next` is used), the order begins at the head's `next`,
// and an index greater than the count ends it.
struct StartOrderEntry {
  int next = 0;
  int id = 0;          // tblTeilnehmer.id
  QString startnr;     // the bib, as text
  QString code;        // federation id or code, when codes are shown
  QString name;        // "nachname vorname"
  QString jahrgang;    // birth year, when shown
  QString verein;      // club, or the caller's placeholder
  QString nation;      // nation, when shown
  double punkte = 0;   // entry points (9999.99 = none)
  QString klasse;      // group display name ("-" without grouping)
  QString klasse_nm;   // group key name (run 1 only)
  QString zeit;        // run-1 time text (run 2 only)
  bool moved = false;  // moved by the points correction
};

// The start order of run 1 or run 2, as the last build left it. It grows with the
// number of participants; nothing is limited to a fixed size.
class StartOrderTable {
 public:
  StartOrderTable() : entries_(1) {}

  // The list head (index 0) and the loaded entries (1..count).
  StartOrderEntry& head() { return entries_[0]; }
  const StartOrderEntry& head() const { return entries_[0]; }
  StartOrderEntry& operator[](int index) { return entries_[static_cast<size_t>(index)]; }
  const StartOrderEntry& operator[](int index) const {
    return entries_[static_cast<size_t>(index)];
  }

  // Number of entries loaded by the last build, or -1 when its query found no row.
  int count() const { return count_; }

  // Starts a new build with `rows` entries, loaded in order (next = index + 1). The
  // entries are reset.
  void reset(int rows) {
    entries_.assign(static_cast<size_t>(rows) + 1, StartOrderEntry{});
    entries_[0].next = 1;
    for (int i = 1; i <= rows; ++i) entries_[static_cast<size_t>(i)].next = i + 1;
    count_ = rows;
  }
  void markEmpty() { count_ = -1; }
  // A new build that reads its entries one by one: beginLoad(), append() per entry in
  // order, endLoad() (next = index + 1; no entry: markEmpty()). `expected` reserves room.
  void beginLoad(size_t expected = 0) {
    entries_.clear();
    entries_.reserve(expected + 1);
    entries_.emplace_back();
    count_ = -1;
  }
  StartOrderEntry& append() { return entries_.emplace_back(); }
  int endLoad() {
    const int rows = static_cast<int>(entries_.size()) - 1;
    for (int i = 0; i <= rows; ++i) entries_[static_cast<size_t>(i)].next = i + 1;
    count_ = rows;
    return rows;
  }
  // Ends a load whose entries were appended in another order: `order` lists the entries to
  // keep (0 for the first appended) in their order.
  int endLoad(const std::vector<int>& order) {
    spare_.clear();
    spare_.reserve(order.size() + 1);
    spare_.emplace_back();
    for (const int i : order) spare_.push_back(std::move(entries_[static_cast<size_t>(i) + 1]));
    entries_.swap(spare_);
    spare_.clear();
    return endLoad();
  }

  // The indexes of the order, read from the head along the `next` links.
  std::vector<int> order() const {
    std::vector<int> result;
    if (count_ <= 0) return result;
    result.reserve(static_cast<size_t>(count_));
    for (int i = entries_[0].next; i >= 1 && i <= count_;
         i = entries_[static_cast<size_t>(i)].next) {
      result.push_back(i);
      if (static_cast<int>(result.size()) > count_) break;  // guards against a broken link
    }
    return result;
  }

 private:
  std::vector<StartOrderEntry> entries_;
  std::vector<StartOrderEntry> spare_;  // keeps its room between loads
  int count_ = -1;
};

// A loaded hand time of a timing device or a hand-time file.
struct HandTime {
  double dayTime = 0;  // time of day as a fraction of a day
  quint8 Flag = 0;     // 2 when it came from a DIGI Sport record
  qint16 Number = 0;   // the record number of a DIGI Sport record
};

}  // namespace kx
