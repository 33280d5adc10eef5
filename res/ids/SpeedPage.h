// Control ids of the SpeedPage template.
#pragma once
