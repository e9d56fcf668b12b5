#include "core/quenlow.h"

CQuenlowApp theApp;

CQuenlowApp::CQuenlowApp() = default;
CQuenlowApp::~CQuenlowApp() = default;
