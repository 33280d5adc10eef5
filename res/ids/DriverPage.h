// Control ids of the DriverPage template.
#pragma once
