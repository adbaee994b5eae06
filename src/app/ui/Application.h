#pragma once

namespace zuk {

// The application's identity, set once the QApplication exists: its name "zuk" and no
// display name, which the window system would append to every window title (the titles are
// exactly the program's own: "ZUK-5.6", "Portret_Properties", "ConvertForm", ...).
void setUpApplication();

} // namespace zuk
