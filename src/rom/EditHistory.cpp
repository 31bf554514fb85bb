#include "rom/EditHistory.h"

#include <algorithm>

#include "rom/RomImage.h"

namespace tavo {

EditHistory::EditHistory(std::size_t budget) : budget_(budget) {}

EditHistory::~EditHistory() = default;

void EditHistory::restart(const RomImage& rom)
{
    steps_.clear();
    done_ = 0;
    memory_ = 0;
    state_ = ImageState::of(rom);
}

void EditHistory::absorb(const RomImage& rom)
{
    state_ = ImageState::of(rom);
}

bool EditHistory::record(const RomImage& rom, std::string_view name, std::string_view focus, std::uint64_t mergeKey)
{
    if (!state_) {
        absorb(rom);
        return false;
    }
    EditStep step = diffImage(*state_, rom);
    if (step.empty())
        return false;
    step.name = name;
    step.focus = focus;
    step.mergeKey = mergeKey;
    dropRedoSteps();

    // The state follows the image: the bytes and information at once, the
    // definitions by the run that changed.
    ImageState& state = *state_;
    std::size_t from = 0;
    for (const EditStep::ByteRun& run : step.runs) {
        std::copy_n(step.bytesAfter.begin() + static_cast<std::ptrdiff_t>(from), run.length,
                    state.bytes.begin() + run.address);
        from += static_cast<std::size_t>(run.length);
    }
    if (step.information)
        state.information = step.information->after;
    if (step.definitionsChanged) {
        const auto first = state.entries.begin() + step.first;
        state.entries.erase(first, first + static_cast<std::ptrdiff_t>(step.removed.size()));
        state.entries.insert(state.entries.begin() + step.first, step.added.begin(), step.added.end());
    }

    if (mergeKey != 0 && !steps_.empty() && steps_.back().mergeKey == mergeKey && !steps_.back().changesDefinitions() &&
        !step.changesDefinitions()) {
        EditStep& last = steps_.back();
        memory_ -= last.memoryUsed();
        mergeByteSteps(last, step);
        if (last.empty()) {
            // The typing ended where it began: nothing is left to undo.
            steps_.pop_back();
            done_ = steps_.size();
            return true;
        }
        last.runs.shrink_to_fit();
        memory_ += last.memoryUsed();
        return true;
    }
    memory_ += step.memoryUsed();
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    keepWithinBudget();
    return true;
}

const EditStep* EditHistory::undo(RomImage& rom)
{
    if (!canUndo() || !state_)
        return nullptr;
    const EditStep& step = steps_[--done_];
    undoStep(step, rom, *state_);
    return &step;
}

const EditStep* EditHistory::redo(RomImage& rom)
{
    if (!canRedo() || !state_)
        return nullptr;
    const EditStep& step = steps_[done_++];
    redoStep(step, rom, *state_);
    return &step;
}

std::string_view EditHistory::undoName() const
{
    return canUndo() ? std::string_view(steps_[done_ - 1].name) : std::string_view();
}

std::string_view EditHistory::redoName() const
{
    return canRedo() ? std::string_view(steps_[done_].name) : std::string_view();
}

bool EditHistory::bytesChanged(const RomImage& rom) const
{
    return state_ && state_->bytes != rom.image;
}

void EditHistory::dropRedoSteps()
{
    while (steps_.size() > done_) {
        memory_ -= steps_.back().memoryUsed();
        steps_.pop_back();
    }
}

void EditHistory::keepWithinBudget()
{
    while (steps_.size() > kMinimumSteps && memory_ > budget_) {
        memory_ -= steps_.front().memoryUsed();
        steps_.pop_front();
        --done_;
    }
}

}  // namespace tavo
