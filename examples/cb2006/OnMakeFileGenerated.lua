-- Runs after bdsproj2mak: adds a note and a release define to the generated makefile.
MakeFile:Insert(0, "# edited by the OnMakeFileGenerated event of " .. Action.ProjectFile)
MakeFile:Add("USERDEFINES = $(USERDEFINES);STOCK_NIGHTLY")
MakeFileModified = true
print("makefile " .. MakeFileName .. " now has " .. MakeFile.Count .. " lines")
