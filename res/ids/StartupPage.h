// Control ids of the StartupPage template.
#pragma once
