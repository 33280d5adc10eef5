// Control ids of the AddonPage template.
#pragma once
