#pragma once
// Control ids of the Quick Viewer dialog (174). The Qt dialog uses them as
// objectName()s, so tests and readers can trace each control.

namespace tavo::viewer_id {

constexpr int dialog = 174;

constexpr int tableList = 1282;
constexpr int address = 1035;
constexpr int typeText = 1036;
constexpr int chryslerName = 1037;
constexpr int description = 1251;

// Axis texts around the graph.
constexpr int xLabel = 1027;
constexpr int xMin = 1126;
constexpr int xMax = 1127;
constexpr int xUnits = 1128;
constexpr int yLabel = 1026;
constexpr int yMin = 1125;
constexpr int yMax = 1253;
constexpr int yUnits = 1129;

// Cursor read-outs under the graph.
constexpr int inReadout = 1259;
constexpr int outReadout = 1260;

// Value view.
constexpr int valueLabel = 1280;
constexpr int valueField = 1281;
constexpr int firstChoice = 1264;  // 1264 to 1271: choices 0 to 7
constexpr int firstFlag = 1272;    // 1272 to 1279: bits 0 to 7

// Buttons.
constexpr int properties = 1062;
constexpr int add = 1213;
constexpr int remove = 1214;
constexpr int tabular = 1208;
constexpr int scale = 1212;
constexpr int send = 1231;
constexpr int ok = 1;
// Beside the buttons of the template: the definitions that differ from the
// comparison image.
constexpr int differences = 1290;

}  // namespace tavo::viewer_id
