#pragma once

int loadDescriptionJx9();
