#pragma once

#include <QString>

namespace vexo {

// The start-up options and the logged-on user, as start-up leaves them for the commands of the main
// window. The folders live in AppGlobals beside the problem's own settings.
struct ShellGlobals
{
    bool LACILISGIRIS = false; // ask for user name and password at start (VKldlg "1")
    bool LACILISTUYO = false;  // show the tip of the day at start (VKlstrt "1")
    bool LACILISLOGO = false;  // show the splash screen at start (VKlogo "1")
    int NSONTUYO = 0;          // the last tip shown (the number VKlatip begins with)
    QString CAKTIFKULLANICI;   // stored name of the user who logged on; empty without a logon
};

ShellGlobals &shellGlobals();

} // namespace vexo
