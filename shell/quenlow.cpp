#include "shell/quenlow.h"

CQuenlowApp theApp;

CQuenlowApp::CQuenlowApp() = default;
CQuenlowApp::~CQuenlowApp() = default;
