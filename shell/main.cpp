#include <wx/wx.h>
int main(int argc, char** argv) { return wxEntry(argc, argv); }
