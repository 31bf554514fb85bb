#pragma once
// Undo and redo of the working image's edits. After each user action its
// caller records a step under the action's name; the history finds what the
// action changed by comparing the image with the state it kept after the
// previous step (the bytes, the ROM information, the definitions), so no
// dialog writes undo code of its own. Loading another image starts anew.
//
// Memory is bounded: a step keeps only what changed (a dragged point, a few
// dozen bytes), and the oldest steps are dropped once the history holds more
// than its budget, 16 MiB unless told otherwise; the newest 1000 steps are
// always kept.
//
// QUndoStack was not used: it drops old steps only by their number, and that
// limit can be set only while the stack is empty. Keeping the history with
// the image model also lets the commands that load and scan an image start
// and record it without a window.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "rom/EditStep.h"

namespace tavo {

struct RomImage;

class EditHistory {
public:
    static constexpr std::size_t kMinimumSteps = 1000;
    static constexpr std::size_t kDefaultBudget = std::size_t{16} << 20;

    explicit EditHistory(std::size_t budget = kDefaultBudget);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // A newly loaded image: every step is forgotten.
    void restart(const RomImage& rom);
    // Takes the image as it is now without making a step: for changes that
    // are no edits, such as the Quick Viewer reordering the definitions when
    // it sorts them. Before any restart this starts the history.
    void absorb(const RomImage& rom);

    // Records what changed since the last step as one step named `name`;
    // `focus` names the definition shown meanwhile. A step with the same
    // nonzero merge key as the step before it, both changing bytes only,
    // joins it (the keystrokes of one typed value). Steps that were undone
    // are dropped. False when nothing changed.
    bool record(const RomImage& rom, std::string_view name, std::string_view focus = {}, std::uint64_t mergeKey = 0);

    // Takes the last step back, or does the last undone step again; the step,
    // or null when there is none. The pointer lasts until the next record.
    const EditStep* undo(RomImage& rom);
    const EditStep* redo(RomImage& rom);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string_view undoName() const;
    std::string_view redoName() const;

    std::size_t size() const { return steps_.size(); }
    // What the steps hold, in bytes (the copy of the current state not included).
    std::size_t memoryUsed() const { return memory_; }
    std::size_t budget() const { return budget_; }

    // True when the image's bytes differ from those after the last step:
    // the action being recorded changed bytes.
    bool bytesChanged(const RomImage& rom) const;

private:
    void dropRedoSteps();
    void keepWithinBudget();

    std::size_t budget_;
    std::deque<EditStep> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    std::size_t memory_ = 0;
    std::unique_ptr<ImageState> state_;  // the image after the last step done
};

}  // namespace tavo
