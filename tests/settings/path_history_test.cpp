#include "settings/path_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "settings/profile.h"
#include "settings/settings_model.h"
#include "support/temp_folder.h"

namespace lurvane {
namespace {

// Runs `edit` on the model's path and records it, as the path editor does for each of its edits.
template <typename Edit>
void Edited(SettingsModel& model, PathHistory& history, Edit edit) {
    const PathMarkers before = model.Path();
    edit();
    history.Record(before, model.Path(), model.ZoomFactor());
}

TEST(PathHistory, UndoAndRedoWalkBackAndForthOverEveryKindOfEdit) {
    testing::TempFolder folder;
    const std::string profile = folder.Path("harbour.rpp");
    testing::TempFolder::Write(profile, "[Path]\nPoints=10,10;900,100;900,900;100,900;500,500\n");
    SettingsModel model;
    model.SetText(SettingId::PathPoints, "0,0;2000,0;2000,2000;0,2000");
    model.SetProfilePath(profile);
    PathHistory history;
    std::vector<std::vector<MarkerPosition>> seen{model.Path().Positions()};
    const std::function<void()> edits[] = {
        [&] {  // a drag: many moves, one step
            for (int x = 100; x <= 1500; x += 100) model.Path().DragTo(1, x, 800, 4995, 3735);
        },
        [&] { model.Path().AddPointOnSegment(1000, 500); },
        [&] { model.Path().RemovePointKeepingThree(0); },
        [&] { model.Path().MoveBy(2, 15, -15, 4995, 3735); },
        [&] { model.Path().ResetToThreePoints(); },
        [&] { ASSERT_TRUE(LoadINI(model).Complete()); }};
    for (const auto& edit : edits) {
        Edited(model, history, edit);
        seen.push_back(model.Path().Positions());
    }
    ASSERT_EQ(model.Path().Count(), 5u);
    for (std::size_t i = 1; i < seen.size(); ++i) ASSERT_NE(seen[i], seen[i - 1]) << i;

    for (std::size_t i = seen.size() - 1; i-- > 0;) {
        const std::optional<PathMarkers> undone = history.Undo(1);
        ASSERT_TRUE(undone) << i;
        EXPECT_EQ(undone->Positions(), seen[i]) << i;
    }
    EXPECT_FALSE(history.Undo(1));
    for (std::size_t i = 1; i < seen.size(); ++i) {
        const std::optional<PathMarkers> redone = history.Redo(1);
        ASSERT_TRUE(redone) << i;
        EXPECT_EQ(redone->Positions(), seen[i]) << i;
    }
    EXPECT_FALSE(history.Redo(1));

    // A new edit after an undo ends the redo; an edit that changed nothing is no step.
    model.Path() = *history.Undo(1);
    Edited(model, history, [&] { model.Path().MoveBy(0, 150, 0, 4995, 3735); });
    EXPECT_FALSE(history.CanRedo());
    Edited(model, history, [] {});
    EXPECT_EQ(history.Undo(1)->Positions(), seen[seen.size() - 2]);
}

TEST(PathHistory, AStepTakenAtOneZoomIsUndoneAtAnotherAndTheOldestStepsGo) {
    PathMarkers before;
    before.AddPathPoint(1000, 500);
    PathMarkers after = before;
    after.Move(1, 1200, 500);
    PathHistory history;
    history.Record(before, after, 2);
    const std::optional<PathMarkers> atOne = history.Undo(1);
    ASSERT_TRUE(atOne);
    EXPECT_DOUBLE_EQ(atOne->Centre(1).X, before.Centre(1).X / 2);
    EXPECT_DOUBLE_EQ(history.Redo(4)->Centre(1).Y, after.Centre(1).Y * 2);

    for (std::size_t i = 0; i < PathHistory::kMaxSteps + 5; ++i) {
        after.Move(1, static_cast<float>(i), 0);
        history.Record(before, after, 1);
    }
    std::size_t undone = 0;
    while (history.Undo(1)) ++undone;
    EXPECT_EQ(undone, PathHistory::kMaxSteps);
}

}  // namespace
}  // namespace lurvane
