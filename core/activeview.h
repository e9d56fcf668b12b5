// The names theApp.m_strActiveView records for the central view in front:
// the frame writes them when it shows a view, and a view's own timers read
// them to know whether their view is still the one in front.
#pragma once

constexpr const char* kActiveLessonView = "CQuenlowView";
constexpr const char* kActiveWordBookView = "CWordManagementView";
constexpr const char* kActiveSpeechView = "CSpeechFormView";
constexpr const char* kActiveHelpView = "CUpdateFormView";
