#pragma once

/*!
 * The ids of the core's commands, menu containers and contexts, for the core and for plug-ins
 * that implement, place or look up these commands. The ids are plain Latin-1 strings: pass them
 * where a QString is expected, or wrap them in QLatin1String when QT_NO_CAST_FROM_ASCII is on.
 *
 * The core registers every command below for the main window's context. Some it only declares
 * (text, keys, place in the menus) and leaves their handling to plug-ins: the two previews, the
 * export and the Help commands other than Help Contents.
 */
namespace Veldra::Ids {

// Contexts
constexpr char GlobalContext[] = "Global";

// Menu containers
constexpr char MenuBar[] = "Veldra.MenuBar";
constexpr char FileMenu[] = "MenuBar.File";
constexpr char EditMenu[] = "MenuBar.Edit";
constexpr char ViewMenu[] = "MenuBar.View";
constexpr char HelpMenu[] = "MenuBar.Help";
constexpr char RecentProjectsMenu[] = "File.Recent_Projects";
constexpr char SaveAsMenu[] = "File.SaveAs";

// Commands of the File menu
constexpr char FileNew[] = "File.New";
constexpr char FileOpenProject[] = "File.Open_Project";
// Followed by the entry's number, 1 to 10.
constexpr char FileRecentProjectPrefix[] = "File.Recent_Projects.Project_";
constexpr char FileSave[] = "File.Save";
constexpr char FileSaveAsProject[] = "File.SaveAs.Project";
constexpr char FileClose[] = "File.Close";
constexpr char FilePreviewScene[] = "File.Preview_Current_Scene_In_Browser";
constexpr char FilePreviewProject[] = "File.Preview_Project_In_Browser";
constexpr char FileExportToHtml5[] = "File.Export_To_HTML5";
constexpr char FileExit[] = "File.Exit";

// Commands of the Edit menu
constexpr char EditPreferences[] = "Edit.Preferences";

// Commands in no menu: the main window carries their keys
constexpr char CommandPalette[] = "Veldra.Command_Palette";

// Commands of the Help menu
constexpr char HelpAbout[] = "Help.About";
constexpr char HelpContents[] = "Help.Help_Contents";
constexpr char HelpCommunity[] = "Help.Community";
constexpr char HelpCheckUpdates[] = "Help.CheckUpdates";
constexpr char HelpUserAccount[] = "Help.UserAccount";
constexpr char HelpSignInOut[] = "Help.SignInOut";

// Separators made by the menu containers: followed by a decimal number.
constexpr char SeparatorPrefix[] = "Separator.";

} // namespace Veldra::Ids
