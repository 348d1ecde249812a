// Netscape User Preferences
// This is a generated file!
user_pref("browser.bookmark_location", "/home/ann/.netscape/bookmarks.html");
user_pref("browser.startup.homepage", "http://home.netscape.com/");
