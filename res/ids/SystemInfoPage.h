// Control ids of the SystemInfoPage template.
#pragma once
