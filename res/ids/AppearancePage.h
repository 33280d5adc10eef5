// Control ids of the AppearancePage template.
#pragma once
