#pragma once
namespace quorin { struct Game; void DetectJoystick(Game&); void UpdateControls(Game&); void ShowSystemCursor(Game&, int); }
