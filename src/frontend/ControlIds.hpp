// The IDs of the windows' controls and of the menu items. Scripts and
// screen readers find each control by its ID, so none of them ever changes;
// each is named after the control it stands for.
#pragma once

namespace varnex::frontend {

// The main window.
namespace MainIds {
inline constexpr int File = 1100, File1 = 1101, Frame2 = 1102, File2 = 1103, Frame3 = 1104, Option1 = 1105,
                     Label2 = 1106, Option2 = 1107, Label3 = 1108, Option3 = 1109, Label4 = 1110, Dir1 = 1111,
                     Frame1 = 1112, Command3 = 1113, Command2 = 1114, Command6 = 1115, Command5 = 1116, Image1 = 1117,
                     Command1 = 1118, Frame4 = 1119, List1 = 1120, Frame7 = 1121, Text1 = 1122, Image2 = 1123,
                     Image3 = 1124, Save = 1125, Frame5 = 1126, addonsize = 1127, Frame6 = 1128, foldersize = 1129,
                     Command4 = 1130, Label1 = 1131;
}

// The main window's favorites menu.
namespace MenuIds {
inline constexpr int LoadFavorits = 1201, SaveFavorits = 1202;
}

// The information window.
namespace InfoIds {
inline constexpr int Frame1 = 1301, Frame2 = 1302, Frame3 = 1303, Frame4 = 1304, Frame5 = 1305, Frame6 = 1306,
                     Frame7 = 1307, Text1 = 1311, Text2 = 1312, Text3 = 1313, Text4 = 1314, Text5 = 1315, Text6 = 1316;
}

}  // namespace varnex::frontend
